// The application object of the framework stand-in: instance handle, main window and the
// help entry that opens the module's own help file.
#pragma once

#include <windows.h>

class CWnd;

class CWinApp {
public:
    explicit CWinApp(LPCSTR pszAppName = nullptr);
    CWinApp(const CWinApp &) = delete;
    CWinApp &operator=(const CWinApp &) = delete;
    virtual ~CWinApp();

    // Opens the help file with the platform help viewer, owned by the main window.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd);

    // The main window is the current call's own (framework/call_context.h): dialogs of other
    // calls, on other threads or nested on this one, are neither its owner nor its help's.
    // Null until the call sets one, and always outside any call, where setting does nothing.
    CWnd *GetMainWnd() const;
    void SetMainWnd(CWnd *pWnd);

    HINSTANCE m_hInstance;
    // "<module path without extension>.HLP"; empty when the module's path is too long.
    char m_szHelpFilePath[MAX_PATH + 4];
};

// The one application object of this module.
CWinApp *AfxGetApp();

// The module whose resources the component uses (the DLL, or a test executable).
HINSTANCE AfxGetResourceHandle();

// The path of this module's file, with the offsets at which its file name and the dot of
// its extension start (the end of the path when the name has none); FALSE when the path
// does not fit.
BOOL AfxGetModulePath(char (&szPath)[MAX_PATH], int &nName, int &nExtension);

// The help viewer is called through this pointer so that tests can watch it without
// starting WinHelp.
using HelpViewerFn = BOOL(WINAPI *)(HWND, LPCSTR, UINT, ULONG_PTR);
extern HelpViewerFn g_pfnHelpViewer;
