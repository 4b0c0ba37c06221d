#include "framework/data_exchange.h"

#include "framework/afxres.h"
#include "framework/message_box.h"
#include "framework/string.h"

namespace {
// FALSE when memory ran out.
BOOL GetWindowText(HWND hWnd, CString &strText)
{
    const int length = GetWindowTextLengthA(hWnd);
    LPSTR pBuffer = strText.GetBuffer(length > 0 ? length : 0);
    if (!pBuffer)
        return FALSE;
    const int copied = length > 0 ? GetWindowTextA(hWnd, pBuffer, length + 1) : 0;
    strText.ReleaseBuffer(copied > 0 ? copied : 0);
    return TRUE;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Blanks, one or more decimal digits that fit in 32 bits, blanks; nothing else.
bool ParseUnsigned(const CString &strText, DWORD &dwValue)
{
    const LPCSTR pszText = strText;
    const int length = strText.GetLength();
    int i = 0;
    while (i < length && IsBlank(pszText[i]))
        ++i;
    const int digitsStart = i;
    unsigned long long value = 0;
    while (i < length && pszText[i] >= '0' && pszText[i] <= '9') {
        value = value * 10 + static_cast<unsigned>(pszText[i] - '0');
        if (value > 0xFFFFFFFFULL)
            return false;
        ++i;
    }
    if (i == digitsStart)
        return false;
    while (i < length && IsBlank(pszText[i]))
        ++i;
    if (i != length)
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

BOOL CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl) {
        SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    return FALSE;
}

BOOL DDX_Text(CDataExchange *pDX, int nIdc, DWORD &dwValue)
{
    HWND hCtrl = pDX->PrepareEditCtrl(nIdc);
    if (!pDX->m_bSaveAndValidate) {
        char text[16];
        wsprintfA(text, "%lu", static_cast<unsigned long>(dwValue));
        SetWindowTextA(hCtrl, text);
        return TRUE;
    }
    CString text;
    if (!GetWindowText(hCtrl, text))
        return FALSE;
    if (!ParseUnsigned(text, dwValue)) {
        AfxMessageBox(AFX_IDP_PARSE_UINT);
        return pDX->Fail();
    }
    return TRUE;
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
