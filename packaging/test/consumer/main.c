/* Asks the printer for its options through optinfo_en.dll, without the dialog, and prints the
 * record on one line. */
#include <stdio.h>
#include <windows.h>

#include "optinfo.h"

int main(void)
{
    OptionInfo info = {0};
    LONG result = TKOpenPrinterInf("RX-9100W", "RX-9100W", 0, NULL, &info, FALSE, TRUE);
    printf("result %ld printer-id %ld %lu %ld %ld %ld %ld %ld %ld memory %ld %ld paper-source %ld %ld\n",
           result, info.bHasPrinterId, info.nPrinterIdCount, info.nPrinterId[0], info.nPrinterId[1],
           info.nPrinterId[2], info.nPrinterId[3], info.nPrinterId[4], info.nPrinterId[5], info.bHasMemory,
           info.nMemoryMB, info.bHasPaperSource, info.nPaperSource);
    return result == 1 ? 0 : 1;
}
