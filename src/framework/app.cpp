#include "framework/app.h"

#include "framework/thread_slot.h"
#include "framework/window.h"

#include <cstring>

// The linker's symbol for this module's own base address: the instance handle of the
// DLL, or of the executable that links the component statically in tests.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
const char HELP_FILE_EXTENSION[] = ".HLP";

CWinApp *g_pApp = nullptr;

CThreadSlot g_mainWindow;
} // namespace

HelpViewerFn g_pfnHelpViewer = ::WinHelpA;

CWinApp::CWinApp(LPCSTR /*pszAppName*/)
    : m_hInstance(reinterpret_cast<HINSTANCE>(&__ImageBase)), m_szHelpFilePath()
{
    char path[MAX_PATH];
    int nName = 0;
    int nExtension = 0;
    if (AfxGetModulePath(path, nName, nExtension)) {
        std::memcpy(m_szHelpFilePath, path, static_cast<size_t>(nExtension));
        std::memcpy(m_szHelpFilePath + nExtension, HELP_FILE_EXTENSION, sizeof(HELP_FILE_EXTENSION));
    }
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    CWnd *pMainWnd = GetMainWnd();
    g_pfnHelpViewer(pMainWnd ? pMainWnd->GetSafeHwnd() : nullptr, m_szHelpFilePath, nCmd, dwData);
}

CWnd *CWinApp::GetMainWnd() const
{
    return static_cast<CWnd *>(g_mainWindow.Get());
}

void CWinApp::SetMainWnd(CWnd *pWnd)
{
    g_mainWindow.Set(pWnd);
}

CWinApp *AfxGetApp()
{
    return g_pApp;
}

HINSTANCE AfxGetResourceHandle()
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

BOOL AfxGetModulePath(char (&szPath)[MAX_PATH], int &nName, int &nExtension)
{
    const DWORD length = GetModuleFileNameA(AfxGetResourceHandle(), szPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return FALSE;
    nName = 0;
    nExtension = static_cast<int>(length);
    for (int i = 0; i < static_cast<int>(length); ++i) {
        if (szPath[i] == '\\' || szPath[i] == '/') {
            nName = i + 1;
            nExtension = static_cast<int>(length);
        } else if (szPath[i] == '.') {
            nExtension = i;
        }
    }
    return TRUE;
}
