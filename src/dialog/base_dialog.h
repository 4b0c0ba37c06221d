// The base of the component's dialogs: the state the entry call hands over, the grey
// background of the older Windows NT versions, the switch between input and display mode,
// and the exchange and range checks of single controls.
#pragma once

#include "model/option_info.h"
#include "framework/dialog.h"
#include "framework/string.h"

class CBaseDialog : public CDialog {
public:
    CBaseDialog(UINT nIdTemplate, CWnd *pParentWnd) : CDialog(nIdTemplate, pParentWnd) {}

    // Tells the user that the control's value is outside dwLower to dwUpper.
    virtual void ShowRangeError(int nIdc, DWORD dwLower, DWORD dwUpper);
    // TRUE: EnableInput, FALSE: DisableInput.
    virtual void SetInputMode(BOOL bInput);
    virtual void EnableInput() = 0;
    virtual void DisableInput() = 0;

    // The exchange of one control in the validation frame; FALSE when it failed.
    BOOL UpdateControlData(int nIdc, BOOL bSaveAndValidate);

    // Checks of a value just saved from control nIdc: on failure the user is told, the
    // control gets the focus back and FALSE ends the exchange. Loading never fails.
    BOOL ValidateRange(CDataExchange *pDX, int nIdc, DWORD dwValue, DWORD dwLower, DWORD dwUpper);
    BOOL ValidateEvenRange(CDataExchange *pDX, int nIdc, DWORD dwValue, DWORD dwLower, DWORD dwUpper);
    BOOL ValidateOddRange(CDataExchange *pDX, int nIdc, DWORD dwValue, DWORD dwLower, DWORD dwUpper);

    LONG m_nModelIndex = 0;
    CString m_strPrinterName;
    OptionInfo m_optionInfo = {};
    BOOL m_bInfoStored = FALSE;     // the options were read from the printer
    BOOL m_bSheetRequested = FALSE; // a settings sheet was requested in this dialog

protected:
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(HDC hDC, HWND hCtrl, UINT nCtlColor) override;
    void OnDestroy() override;

    HBRUSH m_hBackBrush = nullptr;

private:
    BOOL CheckRange(CDataExchange *pDX, int nIdc, DWORD dwLower, DWORD dwUpper, bool bPasses);
};
