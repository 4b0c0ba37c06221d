#include "framework/message_box.h"

#include "framework/app.h"
#include "framework/heap.h"
#include "framework/string.h"
#include "framework/window.h"

int AfxMessageBox(LPCSTR pszText, UINT nType, UINT /*nIDHelp*/)
{
    CWinApp *pApp = AfxGetApp();
    CWnd *pMainWnd = pApp ? pApp->GetMainWnd() : nullptr;
    HWND hOwner = pMainWnd ? pMainWnd->GetSafeHwnd() : nullptr;
    // The caption is the module's file name without its extension.
    char path[MAX_PATH] = {};
    int nName = 0;
    int nExtension = 0;
    if (AfxGetModulePath(path, nName, nExtension))
        path[nExtension] = '\0';
    return AfxShowMessageBox(hOwner, pszText ? pszText : "", path + nName, nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString prompt;
    prompt.LoadString(nIDPrompt);
    return AfxMessageBox(prompt, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

int AfxShowMessageBox(HWND hOwner, LPCSTR pszText, LPCSTR pszCaption, UINT nType)
{
    if (AfxIsOutOfMemory())
        return 0;
    return MessageBoxA(hOwner, pszText, pszCaption, nType);
}
