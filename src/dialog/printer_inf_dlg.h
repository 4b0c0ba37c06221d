// The "Printer and Option Information" dialog: shows the options read from the printer, or
// takes them from the user after a settings sheet has been printed.
#pragma once

#include "dialog/base_dialog.h"
#include "framework/list_box.h"

// Installed memory in megabytes of the memory combo box's entries.
extern const DWORD MemorySizeTable[4];

class CPrinterInfDlg : public CBaseDialog {
public:
    explicit CPrinterInfDlg(CWnd *pParent);

    CListBox m_listPaperSource;
    int m_nMemoryIndex = -1;
    DWORD m_dwPrinterId[PRINTER_ID_COUNT] = {};

protected:
    BOOL DoDataExchange(CDataExchange *pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(UINT nId, UINT nCode) override;
    void ShowRangeError(int nIdc, DWORD dwLower, DWORD dwUpper) override;
    void EnableInput() override;
    void DisableInput() override;

    // Opens the inputs and has the printer print its settings sheet.
    void OnSettingsSheet();
    // Checks an ID field that the Tab key leaves.
    void OnKillFocusPrinterId(int nIdc);

private:
    void LoadPrinterIds();
    void FillMemoryList();
    void FillPaperSourceList();
    BOOL ExchangePrinterId(CDataExchange *pDX, int nIndex);
    bool ReadPaperSourceCode(int nIndex, LONG &nCode) const;
    void StorePaperSource();
    void StoreEnteredOptions();
    void ShowGuide(UINT nIdGuide);
};
