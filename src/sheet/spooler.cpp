#include "sheet/spooler.h"

SpoolerFunctions g_spooler = {
    ::OpenPrinterA,   ::StartDocPrinterA, ::StartPagePrinter, ::WritePrinter,
    ::EndPagePrinter, ::EndDocPrinter,    ::ClosePrinter,
};
