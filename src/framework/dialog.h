// The modal dialog of the framework stand-in, on DialogBoxParamA, with the dispatch of the
// messages that the component's dialogs handle.
#pragma once

#include "framework/data_exchange.h"
#include "framework/window.h"

class CCallContext;

// Help contexts of dialogs are this base plus the template number.
const DWORD HID_BASE_RESOURCE = 0x20000;

class CDialog : public CWnd {
public:
    CDialog(UINT nIdTemplate, CWnd *pParentWnd);

    // Runs the dialog until it ends: the value given to EndDialog, or -1 when the dialog
    // could not be created or memory ran out while it ran. Its messages are handled in the
    // context of the call that runs it (framework/call_context.h), also while a call nested
    // in it runs.
    virtual INT_PTR DoModal();

    // The validation frame: exchanges every control, or only control nIdc, through
    // DoDataExchange with the dialog's control notifications locked out; FALSE when the
    // exchange failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE, int nIdc = ALL_CONTROLS);

    void EndDialog(INT_PTR nResult) { ::EndDialog(m_hWnd, nResult); }

protected:
    // Loads the controls from the members. TRUE leaves the focus to the dialog manager.
    virtual BOOL OnInitDialog();
    // The controls that pDX covers; FALSE, and nothing more exchanged, once one fails.
    virtual BOOL DoDataExchange(CDataExchange *pDX);
    // Ends the dialog with IDOK once every control has been taken over.
    virtual void OnOK();
    virtual void OnCancel();
    // A command or control notification; TRUE when it was handled.
    virtual BOOL OnCommand(UINT nId, UINT nCode);
    // The brush for a WM_CTLCOLOR... request (nCtlColor is CTLCOLOR_...); nullptr leaves
    // the colours to the dialog manager.
    virtual HBRUSH OnCtlColor(HDC hDC, HWND hCtrl, UINT nCtlColor);
    virtual void OnDestroy() {}
    // Hands the dialog's help context to the application's help entry.
    void OnHelp();

    UINT m_nIdHelp;

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT nMessage, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT nMessage, WPARAM wParam, LPARAM lParam);

    UINT m_nIdTemplate;
    CWnd *m_pParentWnd;
    CCallContext *m_pCall = nullptr; // null outside any call
    BOOL m_bLockNotify = FALSE;      // an exchange runs: control notifications are ignored
};
