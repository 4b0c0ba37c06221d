// The command line of optinfo-host.
#pragma once

#include "optinfo.h"

#include <string>

struct HostArgs {
    std::string strLanguage = "en";
    std::string strPrinter = "RX-9100W";
    std::string strModel = "RX-9100W";
    bool bHasInput = false;
    OptionInfo input = {};
    DWORD dwReserved = 0;
    BOOL bShowDialog = FALSE;
    BOOL bQueryPrinter = FALSE;
};

// Fills args from argv; on a usage error returns false and says why in strError.
bool ParseHostArgs(int argc, char **argv, HostArgs &args, std::string &strError);

extern const char HOST_USAGE[];

// Written, unbuffered, to the error output before the component is loaded: a test runner
// that sees it knows that the program started, so a hang after it is the program's own.
constexpr char HOST_START_LINE[] = "optinfo-host: started\n";
