// The component's application object: the model index of the latest lookup and the mapping
// of every help request to the dialog's topic. Calls may overlap on several threads or nest
// on one, so each acts on the index of its own lookup, kept in its context
// (framework/call_context.h); m_nModelIndex only records the latest, and nothing decides
// from it.
#pragma once

#include "framework/app.h"

class CPrinterInfApp : public CWinApp {
public:
    CPrinterInfApp();

    // Looks the name up in ModelTable: its index, or MODEL_INDEX_NONE, goes to nModelIndex and
    // to m_nModelIndex; 1 when found.
    BOOL FindModel(LPCSTR pszModelName, LONG &nModelIndex);

    // Every help request with a topic opens the dialog's one topic.
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override;

    LONG m_nModelIndex;
};

extern CPrinterInfApp theApp;

const DWORD HELP_TOPIC_PRINTER_INF = 0x1300;
