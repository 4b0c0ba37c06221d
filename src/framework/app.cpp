#include "framework/app.h"

#include "framework/window.h"

// The linker's symbol for this module's own base address: the instance handle of the
// DLL, or of the executable that links the component statically in tests.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
CWinApp *g_pApp = nullptr;

std::string HelpFilePathOf(HINSTANCE hModule)
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(hModule, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    std::string result(path, length);
    std::string::size_type slash = result.find_last_of("\\/");
    std::string::size_type dot = result.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        result.erase(dot);
    return result + ".HLP";
}
} // namespace

HelpViewerFn g_pfnHelpViewer = ::WinHelpA;

CWinApp::CWinApp(LPCSTR /*pszAppName*/)
    : m_hInstance(reinterpret_cast<HINSTANCE>(&__ImageBase)), m_strHelpFilePath(HelpFilePathOf(m_hInstance))
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    HWND hOwner = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
    g_pfnHelpViewer(hOwner, m_strHelpFilePath.c_str(), nCmd, dwData);
}

CWinApp *AfxGetApp()
{
    return g_pApp;
}

HINSTANCE AfxGetResourceHandle()
{
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

std::string AfxLoadString(UINT nId)
{
    // The component's strings are short; 1 KiB holds any of them.
    char buffer[1024];
    int length = LoadStringA(AfxGetResourceHandle(), nId, buffer, sizeof(buffer));
    return length > 0 ? std::string(buffer, length) : std::string();
}

// One pass, so that a parameter text containing "%2" is not substituted again.
std::string AfxFormatString2(UINT nId, LPCSTR psz1, LPCSTR psz2)
{
    const std::string format = AfxLoadString(nId);
    std::string result;
    for (std::string::size_type i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == '1' || format[i + 1] == '2')) {
            result += format[i + 1] == '1' ? psz1 : psz2;
            ++i;
        } else {
            result += format[i];
        }
    }
    return result;
}
