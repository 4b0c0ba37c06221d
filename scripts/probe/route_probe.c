/* Run by scripts/wine-route.sh through each Wine route: the route that runs this program
   to its end runs the i686 programs of its build folder. */
#include <stdio.h>

int main(void)
{
    puts("route probe: i686 code runs");
    return 0;
}
