#include "support/dialog_driver.h"

#include "common_ids.h"

#include <vector>

namespace {
DialogDriver *g_pDriver = nullptr;

const UINT TICK_MS = 10;
const int TICKS_BEFORE_GIVING_UP = 50; // after the script, before a dialog left open is ended
const int TICKS_TO_ACTIVATE = 100;     // the focus belongs to the active window only

BOOL CALLBACK CollectOptionDialog(HWND hWnd, LPARAM lParam)
{
    char className[16] = {};
    GetClassNameA(hWnd, className, sizeof(className));
    if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(hWnd) && GetDlgItem(hWnd, IDC_GUIDE_TEXT))
        reinterpret_cast<std::vector<HWND> *>(lParam)->push_back(hWnd);
    return TRUE;
}

void SetKeysDown(std::initializer_list<int> keys, bool bDown)
{
    BYTE state[256];
    GetKeyboardState(state);
    for (int key : keys)
        state[key] = bDown ? 0x80 : 0;
    SetKeyboardState(state);
}
} // namespace

DialogDriver::DialogDriver(Script script)
    : m_script(std::move(script)), m_nTimer(SetTimer(nullptr, 0, TICK_MS, OnTimer))
{
    g_pDriver = this;
}

DialogDriver::~DialogDriver()
{
    KillTimer(nullptr, m_nTimer);
    g_pDriver = nullptr;
}

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_pDriver)
        g_pDriver->Tick();
}

void DialogDriver::Tick()
{
    if (m_bRunning) // a message box of the script pumps messages
        return;
    if (!m_bRan) {
        m_hDlg = FindOptionDialog();
        if (!m_hDlg || (GetActiveWindow() != m_hDlg && ++m_nTicksWaiting < TICKS_TO_ACTIVATE))
            return;
        m_bRan = m_bRunning = true;
        m_script(m_hDlg);
        m_bRunning = false;
        return;
    }
    if (IsWindow(m_hDlg) && ++m_nTicksAfter == TICKS_BEFORE_GIVING_UP)
        EndDialog(m_hDlg, LEFT_OPEN);
}

HWND FindOptionDialog()
{
    const std::vector<HWND> dialogs = OptionDialogsOfThisThread();
    return dialogs.empty() ? nullptr : dialogs.front();
}

std::vector<HWND> OptionDialogsOfThisThread()
{
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), CollectOptionDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

std::string ItemText(HWND hDlg, int nId)
{
    char text[512] = {};
    GetDlgItemTextA(hDlg, nId, text, sizeof(text));
    return text;
}

bool ItemEnabled(HWND hDlg, int nId)
{
    return IsWindowEnabled(GetDlgItem(hDlg, nId)) != FALSE;
}

int FocusId(HWND hDlg)
{
    HWND hFocus = GetFocus();
    return hFocus && GetParent(hFocus) == hDlg ? GetDlgCtrlID(hFocus) : 0;
}

void Selection(HWND hDlg, int nId, DWORD &dwStart, DWORD &dwEnd)
{
    SendDlgItemMessageA(hDlg, nId, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart),
                        reinterpret_cast<LPARAM>(&dwEnd));
}

void Click(HWND hDlg, int nId)
{
    SendDlgItemMessageA(hDlg, nId, BM_CLICK, 0, 0);
}

void PressKey(HWND hDlg, WPARAM vk, bool bShift)
{
    SetKeysDown({static_cast<int>(vk)}, true);
    if (bShift)
        SetKeysDown({VK_SHIFT}, true);
    MSG msg = {};
    msg.hwnd = GetFocus();
    msg.message = WM_KEYDOWN;
    msg.wParam = vk;
    IsDialogMessageA(hDlg, &msg);
    SetKeysDown({static_cast<int>(vk), VK_SHIFT}, false);
}

void TypeChars(HWND hDlg, int nId, const char *pszChars)
{
    HWND hCtrl = GetDlgItem(hDlg, nId);
    for (const char *p = pszChars; *p; ++p)
        SendMessageA(hCtrl, WM_CHAR, static_cast<BYTE>(*p), 1);
}

void SetText(HWND hDlg, int nId, const char *pszText)
{
    SetDlgItemTextA(hDlg, nId, pszText);
}

std::string Ansi(const char *pszUtf8)
{
    int wide = MultiByteToWideChar(CP_UTF8, 0, pszUtf8, -1, nullptr, 0);
    std::vector<wchar_t> text(static_cast<size_t>(wide));
    MultiByteToWideChar(CP_UTF8, 0, pszUtf8, -1, text.data(), wide);
    int size = WideCharToMultiByte(CP_ACP, 0, text.data(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), -1, &result[0], size, nullptr, nullptr);
    result.resize(static_cast<size_t>(size) - 1);
    return result;
}

bool Japanese()
{
    return GetACP() == 932;
}

void ChooseCassetteAndOk(HWND hDlg)
{
    SendDlgItemMessageA(hDlg, IDC_PAPER_SOURCE, LB_SETCURSEL, 1, 0);
    Click(hDlg, IDOK);
}
