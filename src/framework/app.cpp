#include "framework/app.h"

#include "framework/call_context.h"
#include "framework/mbcs.h"
#include "framework/window.h"

#include <cstring>

// The linker's symbol for this module's own base address: the instance handle of the
// DLL, or of the executable that links the component statically in tests.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
const char HELP_FILE_EXTENSION[] = ".HLP";

CWinApp *g_pApp = nullptr;
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
    CCallContext *pCall = CCallContext::Current();
    return pCall ? pCall->m_pMainWnd : nullptr;
}

void CWinApp::SetMainWnd(CWnd *pWnd)
{
    if (CCallContext *pCall = CCallContext::Current())
        pCall->m_pMainWnd = pWnd;
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
    nName = static_cast<int>(LengthThroughLastSeparator(szPath, length));
    nExtension = static_cast<int>(length);
    const char *const pEnd = szPath + length;
    for (const char *p = szPath + nName; p < pEnd; p = NextChar(p, pEnd)) {
        if (*p == '.')
            nExtension = static_cast<int>(p - szPath);
    }
    return TRUE;
}
