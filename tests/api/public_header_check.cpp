// The C forms again, as a C++ caller writes them, and the form that only C++ has.
#include "public_header_check.c"

LONG CheckEmptyBraceInitialisation()
{
    OptionInfo empty = {};
    return empty.nMemoryMB;
}
