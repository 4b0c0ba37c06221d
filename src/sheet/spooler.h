// The print spooler functions that a raw print job calls, reached through one table so
// that tests can put a recording stand-in in their place.
#pragma once

#include <windows.h>
#include <winspool.h>

struct SpoolerFunctions {
    decltype(&::OpenPrinterA) pfnOpenPrinter;
    decltype(&::StartDocPrinterA) pfnStartDocPrinter;
    decltype(&::StartPagePrinter) pfnStartPagePrinter;
    decltype(&::WritePrinter) pfnWritePrinter;
    decltype(&::EndPagePrinter) pfnEndPagePrinter;
    decltype(&::EndDocPrinter) pfnEndDocPrinter;
    decltype(&::ClosePrinter) pfnClosePrinter;
};

// The real winspool functions unless a test has replaced them.
extern SpoolerFunctions g_spooler;
