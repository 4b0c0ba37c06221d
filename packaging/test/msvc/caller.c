/* An MSVC-style caller without a C runtime: the entry point makes the one call. */
#include "optinfo.h"

int start(void)
{
    OptionInfo info;
    return (int)TKOpenPrinterInf("RX-9100W", "RX-9100W", 0, 0, &info, FALSE, TRUE);
}
