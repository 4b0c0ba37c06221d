// The base of the component's dialogs: the state the entry call hands over, the grey
// background of the older Windows NT versions, the switch between input and display mode,
// and the exchange and range checks of single controls.
#pragma once

#include "entry/option_info.h"
#include "framework/data_exchange.h"
#include "framework/dialog.h"

#include <string>

class CBaseDialog : public CDialog {
public:
    CBaseDialog(UINT nIdTemplate, CWnd *pParentWnd) : CDialog(nIdTemplate, pParentWnd) {}

    // Exchanges the data of one control. The base exchanges nothing.
    virtual void DoControlDataExchange(int nIdc, CDataExchange *pDX);
    // Tells the user that the control's value is outside dwLower to dwUpper.
    virtual void ShowRangeError(int nIdc, DWORD dwLower, DWORD dwUpper);
    // TRUE: EnableInput, FALSE: DisableInput.
    virtual void SetInputMode(BOOL bInput);
    virtual void EnableInput() = 0;
    virtual void DisableInput() = 0;

    // Runs DoControlDataExchange for one control in the validation frame; FALSE when the
    // exchange failed.
    BOOL UpdateControlData(int nIdc, BOOL bSaveAndValidate);

    // Checks of a value just saved from control nIdc: on failure the user is told, the
    // control gets the focus back and the exchange is abandoned. Loading never fails.
    void ValidateRange(CDataExchange *pDX, int nIdc, DWORD dwValue, DWORD dwLower, DWORD dwUpper);
    void ValidateEvenRange(CDataExchange *pDX, int nIdc, DWORD dwValue, DWORD dwLower, DWORD dwUpper);
    void ValidateOddRange(CDataExchange *pDX, int nIdc, DWORD dwValue, DWORD dwLower, DWORD dwUpper);

    LONG m_nModelIndex = 0;
    std::string m_strPrinterName;
    OptionInfo m_optionInfo = {};
    BOOL m_bInfoStored = FALSE;     // the options were read from the printer
    BOOL m_bSheetRequested = FALSE; // a settings sheet was requested in this dialog

protected:
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(HDC hDC, HWND hCtrl, UINT nCtlColor) override;
    void OnDestroy() override;

    HBRUSH m_hBackBrush = nullptr;

private:
    void CheckRange(CDataExchange *pDX, int nIdc, DWORD dwLower, DWORD dwUpper, bool bPasses);
};
