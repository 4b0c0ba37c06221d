#include "dialog/base_dialog.h"

#include "framework/afxres.h"
#include "framework/message_box.h"
#include "util/misc.h"

namespace {
const COLORREF BACK_COLOUR = RGB(192, 192, 192);

// The Windows NT versions other than 4.0 get the grey of the 3-D look from the dialog itself;
// NT 4.0, the Windows 95 family and Win32s draw it with their own colours.
bool NeedsGreyBackground()
{
    LONG code = -1;
    if (!CMisc().GetSystemVersion(&code))
        return false;
    return code == SYSVER_NT_OTHER || code == SYSVER_NT350 || code == SYSVER_NT351;
}

bool IsGreyedControlType(UINT nCtlColor)
{
    return nCtlColor == CTLCOLOR_BTN || nCtlColor == CTLCOLOR_DLG || nCtlColor == CTLCOLOR_STATIC;
}
} // namespace

void CBaseDialog::ShowRangeError(int, DWORD dwLower, DWORD dwUpper)
{
    char lower[16];
    char upper[16];
    wsprintfA(lower, "%lu", static_cast<unsigned long>(dwLower));
    wsprintfA(upper, "%lu", static_cast<unsigned long>(dwUpper));
    CString prompt;
    AfxFormatString2(prompt, AFX_IDP_PARSE_INT_RANGE, lower, upper);
    AfxMessageBox(prompt, MB_ICONEXCLAMATION, AFX_IDP_PARSE_INT_RANGE);
}

void CBaseDialog::SetInputMode(BOOL bInput)
{
    if (bInput)
        EnableInput();
    else
        DisableInput();
}

BOOL CBaseDialog::UpdateControlData(int nIdc, BOOL bSaveAndValidate)
{
    return UpdateData(bSaveAndValidate, nIdc);
}

BOOL CBaseDialog::ValidateRange(CDataExchange *pDX, int nIdc, DWORD dwValue, DWORD dwLower, DWORD dwUpper)
{
    return CheckRange(pDX, nIdc, dwLower, dwUpper, dwLower <= dwValue && dwValue <= dwUpper);
}

BOOL CBaseDialog::ValidateEvenRange(CDataExchange *pDX, int nIdc, DWORD dwValue, DWORD dwLower, DWORD dwUpper)
{
    return CheckRange(pDX, nIdc, dwLower, dwUpper,
                      dwLower <= dwValue && dwValue <= dwUpper && dwValue % 2 == 0);
}

BOOL CBaseDialog::ValidateOddRange(CDataExchange *pDX, int nIdc, DWORD dwValue, DWORD dwLower, DWORD dwUpper)
{
    return CheckRange(pDX, nIdc, dwLower, dwUpper,
                      dwLower <= dwValue && dwValue <= dwUpper && dwValue % 2 == 1);
}

BOOL CBaseDialog::CheckRange(CDataExchange *pDX, int nIdc, DWORD dwLower, DWORD dwUpper, bool bPasses)
{
    if (bPasses || !pDX->m_bSaveAndValidate)
        return TRUE;
    // Only the control just exchanged is reported, so that the focus goes back to it.
    if (!pDX->m_hWndLastControl || GetDlgCtrlID(pDX->m_hWndLastControl) != nIdc)
        return TRUE;
    ShowRangeError(nIdc, dwLower, dwUpper);
    return pDX->Fail();
}

BOOL CBaseDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_hBackBrush = CreateSolidBrush(BACK_COLOUR);
    SetInputMode(!m_bInfoStored);
    return TRUE;
}

HBRUSH CBaseDialog::OnCtlColor(HDC hDC, HWND hCtrl, UINT nCtlColor)
{
    if (IsGreyedControlType(nCtlColor) && NeedsGreyBackground()) {
        SetBkColor(hDC, BACK_COLOUR);
        return m_hBackBrush;
    }
    return CDialog::OnCtlColor(hDC, hCtrl, nCtlColor);
}

void CBaseDialog::OnDestroy()
{
    DeleteObject(m_hBackBrush);
    m_hBackBrush = nullptr;
    CDialog::OnDestroy();
}
