#include "framework/dialog.h"

#include "framework/afxres.h"
#include "framework/app.h"
#include "framework/call_context.h"
#include "framework/heap.h"

CDialog::CDialog(UINT nIdTemplate, CWnd *pParentWnd)
    : m_nIdHelp(nIdTemplate), m_nIdTemplate(nIdTemplate), m_pParentWnd(pParentWnd)
{
}

INT_PTR CDialog::DoModal()
{
    HWND hParent = m_pParentWnd ? m_pParentWnd->GetSafeHwnd() : nullptr;
    m_pCall = CCallContext::Current();
    INT_PTR result = DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIdTemplate), hParent,
                                     DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate, int nIdc)
{
    CDataExchange dx(this, bSaveAndValidate, nIdc);
    // The exchange sets texts, moves the focus and may show a message box: the controls'
    // notifications of all that must not start handlers of their own.
    const BOOL bWasLocked = m_bLockNotify;
    m_bLockNotify = TRUE;
    const BOOL bExchanged = DoDataExchange(&dx);
    m_bLockNotify = bWasLocked;
    return bExchanged;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::DoDataExchange(CDataExchange *)
{
    return TRUE;
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(UINT nId, UINT nCode)
{
    if (nCode != BN_CLICKED)
        return FALSE;
    switch (nId) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    case ID_HELP:
        OnHelp();
        return TRUE;
    default:
        return FALSE;
    }
}

HBRUSH CDialog::OnCtlColor(HDC, HWND, UINT)
{
    return nullptr;
}

void CDialog::OnHelp()
{
    if (CWinApp *pApp = AfxGetApp())
        pApp->WinHelp(HID_BASE_RESOURCE + m_nIdHelp, HELP_CONTEXT);
}

INT_PTR CDialog::Dispatch(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    switch (nMessage) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        // Notifications from controls are ignored while an exchange of this dialog runs.
        if (lParam != 0 && m_bLockNotify)
            return TRUE;
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(OnCtlColor(
            reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), nMessage - WM_CTLCOLORMSGBOX));
    case WM_HELP: // F1
        OnHelp();
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hDlg, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (nMessage == WM_INITDIALOG) {
        SetWindowLongPtrA(hDlg, DWLP_USER, lParam);
        reinterpret_cast<CDialog *>(lParam)->m_hWnd = hDlg;
    }
    auto *pDialog = reinterpret_cast<CDialog *>(GetWindowLongPtrA(hDlg, DWLP_USER));
    if (!pDialog)
        return FALSE; // messages before WM_INITDIALOG
    // A call nested on this thread keeps its own state while this dialog's messages go on:
    // they act on this dialog's call alone.
    CCallContextSwitch inOwnCall(pDialog->m_pCall);
    const BOOL bWasOutOfMemory = AfxIsOutOfMemory();
    const INT_PTR result = pDialog->Dispatch(nMessage, wParam, lParam);
    // Work that memory ran out for leaves the dialog unfinished or its data unsure: it ends
    // with -1, and one that could not be set up is never shown.
    if (!bWasOutOfMemory && AfxIsOutOfMemory())
        ::EndDialog(hDlg, -1);
    return result;
}
