#include "entry/printer_inf_app.h"

#include "entry/option_info.h"
#include "framework/mbcs.h"

CPrinterInfApp theApp;

CPrinterInfApp::CPrinterInfApp() : CWinApp(nullptr), m_nModelIndex(MODEL_INDEX_NONE) {}

BOOL CPrinterInfApp::FindModel(LPCSTR pszModelName)
{
    if (pszModelName) {
        for (int i = 0; i < MODEL_COUNT; ++i) {
            if (CompareNoCase(ModelTable[i], pszModelName) == 0) {
                m_nModelIndex = i;
                return TRUE;
            }
        }
    }
    m_nModelIndex = MODEL_INDEX_NONE;
    return FALSE;
}

void CPrinterInfApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    if (dwData != 0)
        CWinApp::WinHelp(HELP_TOPIC_PRINTER_INF, HELP_CONTEXT);
    else
        CWinApp::WinHelp(0, nCmd);
}
