// The application object of the framework stand-in: instance handle, main window and the
// help entry that opens the module's own help file.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
public:
    explicit CWinApp(LPCSTR pszAppName = nullptr);
    CWinApp(const CWinApp &) = delete;
    CWinApp &operator=(const CWinApp &) = delete;
    virtual ~CWinApp();

    // Opens the help file with the platform help viewer, owned by the main window.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd);

    CWnd *m_pMainWnd = nullptr;
    HINSTANCE m_hInstance;
    std::string m_strHelpFilePath; // "<module path without extension>.HLP"
};

// The one application object of this module.
CWinApp *AfxGetApp();

// The module whose resources the component uses (the DLL, or a test executable).
HINSTANCE AfxGetResourceHandle();

// Loads a string resource of this module; empty when it does not exist.
std::string AfxLoadString(UINT nId);

// String resource nId with every "%1" replaced by psz1 and every "%2" by psz2.
std::string AfxFormatString2(UINT nId, LPCSTR psz1, LPCSTR psz2);

// The help viewer is called through this pointer so that tests can watch it without
// starting WinHelp.
using HelpViewerFn = BOOL(WINAPI *)(HWND, LPCSTR, UINT, ULONG_PTR);
extern HelpViewerFn g_pfnHelpViewer;
