#include "framework/data_exchange.h"

#include "framework/message_box.h"
#include "res/common_ids.h"

#include <string>
#include <vector>

namespace {
thread_local HWND t_hLockoutWindow = nullptr;

// Remembers the thread's lockout window, locks out another, and restores the first.
class CNotifyLockout {
public:
    explicit CNotifyLockout(HWND hWnd) : m_hPrevious(t_hLockoutWindow) { t_hLockoutWindow = hWnd; }
    ~CNotifyLockout() { t_hLockoutWindow = m_hPrevious; }
    CNotifyLockout(const CNotifyLockout &) = delete;
    CNotifyLockout &operator=(const CNotifyLockout &) = delete;

private:
    HWND m_hPrevious;
};

std::string WindowText(HWND hWnd)
{
    int length = GetWindowTextLengthA(hWnd);
    if (length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(hWnd, buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Blanks, one or more decimal digits that fit in 32 bits, blanks; nothing else.
bool ParseUnsigned(const std::string &strText, DWORD &dwValue)
{
    std::string::size_type i = 0;
    while (i < strText.size() && IsBlank(strText[i]))
        ++i;
    const std::string::size_type digitsStart = i;
    unsigned long long value = 0;
    while (i < strText.size() && strText[i] >= '0' && strText[i] <= '9') {
        value = value * 10 + static_cast<unsigned>(strText[i] - '0');
        if (value > 0xFFFFFFFFULL)
            return false;
        ++i;
    }
    if (i == digitsStart)
        return false;
    while (i < strText.size() && IsBlank(strText[i]))
        ++i;
    if (i != strText.size())
        return false;
    dwValue = static_cast<DWORD>(value);
    return true;
}
} // namespace

HWND CDataExchange::PrepareCtrl(int nIdc)
{
    m_hWndLastControl = m_pDlgWnd->GetDlgItem(nIdc);
    m_bEditLastControl = FALSE;
    return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int nIdc)
{
    HWND hWnd = PrepareCtrl(nIdc);
    m_bEditLastControl = TRUE;
    return hWnd;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl) {
        SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw CUserException();
}

BOOL AfxRunValidationFrame(CWnd &wnd, const std::function<void()> &exchange)
{
    // The exchange sets texts, moves the focus and may show a message box: the controls'
    // notifications of all that must not start handlers of their own.
    CNotifyLockout lockout(wnd.m_hWnd);
    try {
        exchange();
        return TRUE;
    } catch (const CUserException &) {
        return FALSE;
    } catch (...) {
        AfxReportInternalFailure();
        return FALSE;
    }
}

HWND AfxGetLockoutWindow()
{
    return t_hLockoutWindow;
}

void AfxReportInternalFailure() noexcept
{
    try {
        AfxMessageBox(AFX_IDP_INTERNAL_FAILURE, MB_ICONEXCLAMATION);
    } catch (...) {
        // Not even the message could be built: there is nobody left to tell.
    }
}

void DDX_Text(CDataExchange *pDX, int nIdc, DWORD &dwValue)
{
    HWND hCtrl = pDX->PrepareEditCtrl(nIdc);
    if (pDX->m_bSaveAndValidate) {
        if (!ParseUnsigned(WindowText(hCtrl), dwValue)) {
            AfxMessageBox(AFX_IDP_PARSE_UINT);
            pDX->Fail();
        }
    } else {
        char text[16];
        wsprintfA(text, "%lu", static_cast<unsigned long>(dwValue));
        SetWindowTextA(hCtrl, text);
    }
}

void DDX_CBIndex(CDataExchange *pDX, int nIdc, int &nIndex)
{
    HWND hCtrl = pDX->PrepareCtrl(nIdc);
    if (pDX->m_bSaveAndValidate)
        nIndex = static_cast<int>(SendMessageA(hCtrl, CB_GETCURSEL, 0, 0));
    else
        SendMessageA(hCtrl, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
}

void DDX_Control(CDataExchange *pDX, int nIdc, CWnd &control)
{
    // Attaching again to the same control changes nothing.
    control.m_hWnd = pDX->PrepareCtrl(nIdc);
}
