#include "dialog/printer_inf_dlg.h"

#include "framework/app.h"
#include "framework/heap.h"
#include "res/common_ids.h"
#include "sheet/settings_sheet.h"
#include "util/error.h"
#include "util/misc.h"

const DWORD MemorySizeTable[4] = {0, 32, 64, 96};

namespace {
const int MEMORY_ENTRY_COUNT = sizeof(MemorySizeTable) / sizeof(MemorySizeTable[0]);
const int PAPER_SOURCE_COUNT = 2;
const int PAPER_SOURCE_TAB_STOP = 256; // beyond the list's width: only the label shows
const int PAPER_SOURCE_CODE_FIELD = 1;
const LONG NO_VALUE = -1;

const int PRINTER_ID_TEXT_LIMIT = 2;
const DWORD PRINTER_ID_LOWER = 30;
const DWORD PRINTER_ID_UPPER = 70;
const int RANGE_MESSAGE = IDS_MESSAGE_PRINTER_ID_RANGE - IDS_MESSAGE_BASE;
const int RANGE_LOWER_PARAM = IDS_PARAM_PRINTER_ID_LOWER - IDS_PARAM_BASE;
const int RANGE_UPPER_PARAM = IDS_PARAM_PRINTER_ID_UPPER - IDS_PARAM_BASE;
const UINT RANGE_MESSAGE_STYLE = MB_ICONHAND | MB_SETFOREGROUND;

// Memory and printer ID: open only when the values are on the printer or on a sheet. With
// them go the controls that each resource set numbers itself (LoadLanguageControls).
const int OPTION_CONTROLS[] = {
    IDC_ID_LABEL,      IDC_PRINTER_ID1,   IDC_PRINTER_ID2,   IDC_PRINTER_ID3,   IDC_PRINTER_ID4,
    IDC_PRINTER_ID5,   IDC_PRINTER_ID6,   IDC_ID_SEPARATOR1, IDC_ID_SEPARATOR2, IDC_ID_SEPARATOR3,
    IDC_ID_SEPARATOR4, IDC_ID_SEPARATOR5, IDC_MEMORY_GROUP,  IDC_MEMORY_LABEL,  IDC_MEMORY,
};
const int REQUEST_CONTROLS[] = {IDC_SETTINGS_SHEET, IDCANCEL};
const int PAPER_SOURCE_CONTROLS[] = {IDC_PAPER_GROUP, IDC_PAPER_SOURCE};

template <size_t N> void EnableControls(const CWnd &dialog, const int (&ids)[N], BOOL bEnable)
{
    for (int id : ids)
        EnableWindow(dialog.GetDlgItem(id), bEnable);
}

// The option controls whose identifiers each resource set chooses for itself, as the set in
// use lists them: one compile serves both sets. None when the set lacks the list; those
// controls then keep the state of the template.
struct LanguageControls {
    const WORD *pIds;
    DWORD nCount;
};

LanguageControls LoadLanguageControls()
{
    const HINSTANCE hModule = AfxGetResourceHandle();
    const HRSRC hInfo = FindResourceA(hModule, MAKEINTRESOURCEA(IDR_LANGUAGE_CONTROL_IDS), RT_RCDATA);
    const HGLOBAL hData = hInfo ? LoadResource(hModule, hInfo) : nullptr;
    const WORD *pIds = hData ? static_cast<const WORD *>(LockResource(hData)) : nullptr;
    return {pIds, pIds ? static_cast<DWORD>(SizeofResource(hModule, hInfo) / sizeof(WORD)) : 0};
}

void EnableOptionControls(const CWnd &dialog, BOOL bEnable)
{
    EnableControls(dialog, OPTION_CONTROLS, bEnable);
    const LanguageControls controls = LoadLanguageControls();
    for (DWORD i = 0; i < controls.nCount; ++i)
        EnableWindow(dialog.GetDlgItem(controls.pIds[i]), bEnable);
}

bool IsPrinterIdField(int nIdc)
{
    return nIdc >= IDC_PRINTER_ID1 && nIdc < IDC_PRINTER_ID1 + PRINTER_ID_COUNT;
}
} // namespace

CPrinterInfDlg::CPrinterInfDlg(CWnd *pParent) : CBaseDialog(IDD_PRINTER_INF, pParent) {}

BOOL CPrinterInfDlg::OnInitDialog()
{
    LoadPrinterIds();
    SetInputMode(FALSE);
    CBaseDialog::OnInitDialog();
    for (int i = 0; i < PRINTER_ID_COUNT; ++i)
        SendDlgItemMessageA(m_hWnd, IDC_PRINTER_ID1 + i, EM_LIMITTEXT, PRINTER_ID_TEXT_LIMIT, 0);
    FillMemoryList();
    FillPaperSourceList();
    return TRUE;
}

void CPrinterInfDlg::LoadPrinterIds()
{
    if (!m_optionInfo.bHasPrinterId)
        return;
    for (int i = 0; i < PRINTER_ID_COUNT && static_cast<DWORD>(i) < m_optionInfo.nPrinterIdCount; ++i) {
        const LONG value = m_optionInfo.nPrinterId[i];
        m_dwPrinterId[i] = value == NO_VALUE ? 0 : static_cast<DWORD>(value);
    }
}

void CPrinterInfDlg::FillMemoryList()
{
    HWND hCombo = GetDlgItem(IDC_MEMORY);
    for (int i = 0; i < MEMORY_ENTRY_COUNT; ++i) {
        CString entry;
        entry.LoadString(IDS_MEMORY_0 + i);
        SendMessageA(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(entry)));
    }
    SendMessageA(hCombo, CB_SETCURSEL, 0, 0);
    if (!m_optionInfo.bHasMemory || m_optionInfo.nMemoryMB == NO_VALUE)
        return;
    for (int i = 0; i < MEMORY_ENTRY_COUNT; ++i) {
        if (MemorySizeTable[i] == static_cast<DWORD>(m_optionInfo.nMemoryMB)) {
            SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return;
        }
    }
}

void CPrinterInfDlg::FillPaperSourceList()
{
    m_listPaperSource.SetTabStops(PAPER_SOURCE_TAB_STOP);
    m_listPaperSource.ResetContent();
    for (UINT nId : {IDS_PAPER_NONE, IDS_PAPER_CASSETTE2}) {
        CString entry;
        entry.LoadString(nId);
        m_listPaperSource.AddString(entry);
    }
    m_listPaperSource.SetCurSel(0);
    if (!m_optionInfo.bHasPaperSource || m_optionInfo.nPaperSource == NO_VALUE)
        return;
    for (int i = 0; i < PAPER_SOURCE_COUNT; ++i) {
        LONG code = 0;
        if (ReadPaperSourceCode(i, code) && code == m_optionInfo.nPaperSource)
            m_listPaperSource.SetCurSel(i);
    }
}

// The code stands after the entry's tab, in decimal.
bool CPrinterInfDlg::ReadPaperSourceCode(int nIndex, LONG &nCode) const
{
    CString field;
    if (!CMisc().GetListBoxField(m_listPaperSource, nIndex, PAPER_SOURCE_CODE_FIELD, field))
        return false;
    nCode = DecimalToLong(field);
    return true;
}

// On OK every control, on Tab the one field left; in the order of the tab stops.
BOOL CPrinterInfDlg::DoDataExchange(CDataExchange *pDX)
{
    if (!CBaseDialog::DoDataExchange(pDX))
        return FALSE;
    if (pDX->Covers(IDC_PAPER_SOURCE))
        DDX_Control(pDX, IDC_PAPER_SOURCE, m_listPaperSource);
    if (pDX->Covers(IDC_MEMORY))
        DDX_CBIndex(pDX, IDC_MEMORY, m_nMemoryIndex);
    for (int i = 0; i < PRINTER_ID_COUNT; ++i) {
        if (pDX->Covers(IDC_PRINTER_ID1 + i) && !ExchangePrinterId(pDX, i))
            return FALSE;
    }
    return TRUE;
}

// An empty field counts as 0, which the range check then refuses.
BOOL CPrinterInfDlg::ExchangePrinterId(CDataExchange *pDX, int nIndex)
{
    const int nIdc = IDC_PRINTER_ID1 + nIndex;
    HWND hField = GetDlgItem(nIdc);
    if (GetWindowTextLengthA(hField) == 0)
        SetWindowTextA(hField, "0");
    return DDX_Text(pDX, nIdc, m_dwPrinterId[nIndex]) &&
           ValidateEvenRange(pDX, nIdc, m_dwPrinterId[nIndex], PRINTER_ID_LOWER, PRINTER_ID_UPPER);
}

// The numbers shown come from the string resources, like the rest of the message.
void CPrinterInfDlg::ShowRangeError(int nIdc, DWORD dwLower, DWORD dwUpper)
{
    if (!IsPrinterIdField(nIdc)) {
        CBaseDialog::ShowRangeError(nIdc, dwLower, dwUpper);
        return;
    }
    CString caption;
    caption.LoadString(IDS_ERROR_CAPTION);
    CError(IDS_MESSAGE_BASE, IDS_PARAM_BASE)
        .ShowError(RANGE_MESSAGE, RANGE_LOWER_PARAM, RANGE_UPPER_PARAM, nullptr, nullptr, caption,
                   RANGE_MESSAGE_STYLE);
}

void CPrinterInfDlg::EnableInput()
{
    if (m_bInfoStored || m_bSheetRequested) {
        EnableOptionControls(*this, TRUE);
        EnableControls(*this, REQUEST_CONTROLS, TRUE);
    }
    EnableControls(*this, PAPER_SOURCE_CONTROLS, TRUE);
    ShowGuide(IDS_GUIDE_INPUT);
    SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(IDC_MEMORY)), TRUE);
}

void CPrinterInfDlg::DisableInput()
{
    EnableOptionControls(*this, FALSE);
    if (m_bInfoStored || m_bSheetRequested) {
        EnableControls(*this, PAPER_SOURCE_CONTROLS, FALSE);
        EnableControls(*this, REQUEST_CONTROLS, FALSE);
    }
    ShowGuide(IDS_GUIDE_STORED);
}

void CPrinterInfDlg::ShowGuide(UINT nIdGuide)
{
    CString guide;
    guide.LoadString(nIdGuide);
    SetDlgItemTextA(m_hWnd, IDC_GUIDE_TEXT, guide);
}

void CPrinterInfDlg::OnOK()
{
    if (m_bSheetRequested) {
        if (!UpdateData(TRUE))
            return;
        StoreEnteredOptions();
    } else if (!m_bInfoStored) {
        if (!UpdateControlData(IDC_PAPER_SOURCE, TRUE))
            return;
        m_optionInfo.bHasPrinterId = 1;
        m_optionInfo.bHasMemory = 1;
        m_optionInfo.bHasPaperSource = 1;
        StorePaperSource();
    }
    EndDialog(IDOK);
}

void CPrinterInfDlg::StoreEnteredOptions()
{
    m_optionInfo.bHasPrinterId = 1;
    for (int i = 0; i < PRINTER_ID_COUNT && static_cast<DWORD>(i) < m_optionInfo.nPrinterIdCount; ++i)
        m_optionInfo.nPrinterId[i] = static_cast<LONG>(m_dwPrinterId[i]);
    m_optionInfo.bHasMemory = 1;
    // The drop-down list always has a selection; should it not, the memory stays as it came.
    if (m_nMemoryIndex >= 0 && m_nMemoryIndex < MEMORY_ENTRY_COUNT)
        m_optionInfo.nMemoryMB = static_cast<LONG>(MemorySizeTable[m_nMemoryIndex]);
    m_optionInfo.bHasPaperSource = 1;
    StorePaperSource();
}

void CPrinterInfDlg::StorePaperSource()
{
    for (int i = 0; i < PAPER_SOURCE_COUNT; ++i) {
        LONG code = 0;
        if (m_listPaperSource.IsSelected(i) && ReadPaperSourceCode(i, code))
            m_optionInfo.nPaperSource = code;
    }
}

BOOL CPrinterInfDlg::OnCommand(UINT nId, UINT nCode)
{
    if (nCode == EN_KILLFOCUS && IsPrinterIdField(static_cast<int>(nId))) {
        OnKillFocusPrinterId(static_cast<int>(nId));
        return TRUE;
    }
    if (nCode == BN_CLICKED && nId == IDC_SETTINGS_SHEET) {
        OnSettingsSheet();
        return TRUE;
    }
    return CBaseDialog::OnCommand(nId, nCode);
}

// Leaving a field with the mouse or a mnemonic checks nothing: OK catches such a value.
void CPrinterInfDlg::OnKillFocusPrinterId(int nIdc)
{
    if (GetKeyState(VK_TAB) < 0)
        UpdateControlData(nIdc, TRUE);
}

void CPrinterInfDlg::OnSettingsSheet()
{
    m_bSheetRequested = TRUE;
    SetInputMode(TRUE);
    // Once memory ran out the dialog ends: no sheet may print for a dialog that vanishes.
    if (AfxIsOutOfMemory())
        return;
    // Nothing comes back from the printer: the user reads the sheet, whether it printed or not.
    SendSettingsSheetRequest(m_strPrinterName);
}
