#include "entry/printer_inf_app.h"

#include "model/option_info.h"
#include "framework/mbcs.h"

CPrinterInfApp theApp;

CPrinterInfApp::CPrinterInfApp() : CWinApp(nullptr), m_nModelIndex(MODEL_INDEX_NONE) {}

BOOL CPrinterInfApp::FindModel(LPCSTR pszModelName, LONG &nModelIndex)
{
    nModelIndex = MODEL_INDEX_NONE;
    for (int i = 0; pszModelName && i < MODEL_COUNT && nModelIndex == MODEL_INDEX_NONE; ++i) {
        if (CompareNoCase(ModelTable[i], pszModelName) == 0)
            nModelIndex = i;
    }
    InterlockedExchange(&m_nModelIndex, nModelIndex);
    return nModelIndex != MODEL_INDEX_NONE;
}

void CPrinterInfApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    if (dwData != 0)
        CWinApp::WinHelp(HELP_TOPIC_PRINTER_INF, HELP_CONTEXT);
    else
        CWinApp::WinHelp(0, nCmd);
}
