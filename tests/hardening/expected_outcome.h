// What a query-only call of TKOpenPrinterInf must come to, worked out from the scenario
// alone: the virtual printer's answers are replayed call by call as its README describes
// them, and the printer's texts are read by parsers of our own. The sweep compares the
// real DLL with this.
#pragma once

#include "optinfo.h"
#include "scenario.h"

#include <string>

// Which status channels the running Windows version asks.
enum SweepChannelPlan {
    SWEEP_PLAN_PRIMARY_THEN_FALLBACK, // Windows 95, NT 4.0
    SWEEP_PLAN_FALLBACK_ONLY,         // NT 3.51
};

struct ExpectedOutcome {
    LONG nResult = 0;
    bool bMessageBox = false; // the incompatible-printer message
    OptionInfo record = {};   // what pOutInfo holds when nResult is 1
    std::string strWhy;       // how the replay ended, for failure messages
};

// pszCallerModel and pInInfo may be null, as a caller may pass them.
ExpectedOutcome ExpectQueryOutcome(const zrapi::CScenario &scenario, const char *pszCallerModel,
                                   const OptionInfo *pInInfo, SweepChannelPlan plan);

// The model named by "MDL:" up to its ";", searched by characters of the ANSI code page;
// false when there is none.
bool ReferenceModel(const std::string &strDeviceId, std::string &strModel);

// Fills the fields that the record's flags ask for from "CW:" and "CD:" in the status
// bytes; false when a field asked for is missing or cut short by the end of the bytes.
bool ReferenceParse(const std::string &strStatus, OptionInfo &info);
