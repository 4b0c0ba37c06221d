#include "framework/message_box.h"

#include "framework/app.h"
#include "framework/window.h"

#include <string>

namespace {
std::string ModuleBaseName()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(AfxGetResourceHandle(), path, MAX_PATH);
    std::string name(path, length < MAX_PATH ? length : 0);
    std::string::size_type slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    std::string::size_type dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}
} // namespace

int AfxMessageBox(LPCSTR pszText, UINT nType, UINT /*nIDHelp*/)
{
    CWinApp *pApp = AfxGetApp();
    HWND hOwner = pApp && pApp->m_pMainWnd ? pApp->m_pMainWnd->GetSafeHwnd() : nullptr;
    return MessageBoxA(hOwner, pszText ? pszText : "", ModuleBaseName().c_str(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    return AfxMessageBox(AfxLoadString(nIDPrompt).c_str(), nType,
                         nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}
