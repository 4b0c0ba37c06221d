#include "entry/printer_inf_app.h"

#include "entry/option_info.h"
#include "framework/mbcs.h"

namespace __gnu_cxx {
// Gives back the C++ runtime's emergency exception pool (libstdc++).
void __freeres();
} // namespace __gnu_cxx

CPrinterInfApp theApp;

// The C++ runtime linked into this library allocates its emergency exception pool when the
// library is loaded and never frees it: a caller that loads and frees the library for each
// use would lose it every time. At process exit (pvReserved set) there is nothing to save.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID pvReserved)
{
    if (dwReason == DLL_PROCESS_DETACH && !pvReserved)
        __gnu_cxx::__freeres();
    return TRUE;
}

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
