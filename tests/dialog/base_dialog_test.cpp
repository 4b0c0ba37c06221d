// CBaseDialog and the framework's exchange under it, on a dialog of its own over template 103.
#include "dialog/base_dialog.h"
#include "framework/heap.h"
#include "resource.h"

#include "support/dialog_driver.h"
#include "support/wine_test_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
// A request no heap can meet: the component's memory runs out for real.
void ExhaustMemory()
{
    EXPECT_EQ(nullptr, AfxAllocMemory(static_cast<size_t>(-1) / 2));
    EXPECT_TRUE(AfxIsOutOfMemory());
}

// Leaves the component's memory as a new call finds it.
struct MemoryReset {
    ~MemoryReset() { AfxResetOutOfMemory(); }
};

// Field 1001 exchanged as an unsigned number and checked by one of the range checks.
class CRangeDialog : public CBaseDialog {
public:
    using Check = BOOL (CBaseDialog::*)(CDataExchange *, int, DWORD, DWORD, DWORD);

    CRangeDialog() : CBaseDialog(IDD_PRINTER_INF, nullptr) {}

    BOOL DoDataExchange(CDataExchange *pDX) override
    {
        if (m_bExhaustMemory) {
            ExhaustMemory();
            return FALSE;
        }
        if (pDX->m_nIdcOnly != IDC_PRINTER_ID1)
            return TRUE;
        return DDX_Text(pDX, IDC_PRINTER_ID1, m_dwValue) &&
               (this->*m_check)(pDX, m_nCheckedId, m_dwValue, 31, 39);
    }
    BOOL OnInitDialog() override
    {
        if (m_bExhaustMemoryInInit)
            ExhaustMemory();
        return CBaseDialog::OnInitDialog();
    }
    void EnableInput() override {}
    void DisableInput() override {}

    // Saves field 1001 with the given text.
    BOOL Save(const char *pszText)
    {
        SetDlgItemTextA(m_hWnd, IDC_PRINTER_ID1, pszText);
        return UpdateControlData(IDC_PRINTER_ID1, TRUE);
    }

    Check m_check = &CBaseDialog::ValidateRange;
    int m_nCheckedId = IDC_PRINTER_ID1;
    DWORD m_dwValue = 0;
    bool m_bExhaustMemory = false;
    bool m_bExhaustMemoryInInit = false;
};

INT_PTR RunModal(CRangeDialog &dialog, const DialogDriver::Script &script)
{
    DialogDriver driver(script);
    return dialog.DoModal();
}

std::string Text(const char *pszEnglish, const char *pszJapanese)
{
    return Japanese() ? Ansi(pszJapanese) : pszEnglish;
}
} // namespace

TEST(CBaseDialog, RangeChecksReportSavedValuesOfTheirControlWithTheFrameworkPrompt)
{
    const struct {
        CRangeDialog::Check check;
        std::vector<const char *> pass;
        std::vector<const char *> fail;
    } checks[] = {
        {&CBaseDialog::ValidateRange, {"31", "32", "39"}, {"30", "40", "0"}},
        {&CBaseDialog::ValidateOddRange, {"31", "33", "39"}, {"32", "38", "29", "41"}},
        {&CBaseDialog::ValidateEvenRange, {"32", "38"}, {"31", "39", "30", "40"}},
    };
    for (const auto &check : checks) {
        MessageBoxCatcher catcher;
        CRangeDialog dialog;
        dialog.m_check = check.check;
        RunModal(dialog, [&](HWND hDlg) {
            for (const char *pszText : check.pass)
                EXPECT_TRUE(dialog.Save(pszText)) << pszText;
            EXPECT_TRUE(catcher.m_boxes.empty());
            for (const char *pszText : check.fail) {
                catcher.m_boxes.clear();
                SetFocus(GetDlgItem(hDlg, IDC_PRINTER_ID3));
                EXPECT_FALSE(dialog.Save(pszText)) << pszText;
                ASSERT_EQ(1u, catcher.m_boxes.size()) << pszText;
                EXPECT_EQ(Text("Please enter an integer between 31 and 39.",
                               u8"31 から 39 までの整数を入力してください。"),
                          catcher.m_boxes[0].strText);
                EXPECT_TRUE(catcher.m_boxes[0].bHasIcon);
                EXPECT_EQ(IDC_PRINTER_ID1, FocusId(hDlg));
                DWORD dwStart = 99, dwEnd = 99;
                Selection(hDlg, IDC_PRINTER_ID1, dwStart, dwEnd);
                EXPECT_EQ(0u, dwStart);
                EXPECT_EQ(strlen(pszText), dwEnd);
            }
            // Loading, and a check that names another control than the one exchanged, pass.
            catcher.m_boxes.clear();
            dialog.m_dwValue = 77;
            EXPECT_TRUE(dialog.UpdateControlData(IDC_PRINTER_ID1, FALSE));
            EXPECT_EQ("77", ItemText(hDlg, IDC_PRINTER_ID1));
            dialog.m_nCheckedId = IDC_PRINTER_ID2;
            EXPECT_TRUE(dialog.Save("50"));
            EXPECT_TRUE(catcher.m_boxes.empty());
            EndDialog(hDlg, IDOK);
        });
    }
}

TEST(CBaseDialog, FailedExchangesAreReportedAndKeepTheValue)
{
    MemoryReset reset;
    MessageBoxCatcher catcher;
    CRangeDialog dialog;
    const INT_PTR result = RunModal(dialog, [&](HWND hDlg) {
        dialog.m_dwValue = 33;
        for (const char *pszText : {"4294967296", "-1", "3 4", "x", "", " "}) {
            catcher.m_boxes.clear();
            EXPECT_FALSE(dialog.Save(pszText)) << pszText;
            ASSERT_EQ(1u, catcher.m_boxes.size()) << pszText;
            EXPECT_EQ(Text("Please enter a positive integer.", u8"正の整数を入力してください。"),
                      catcher.m_boxes[0].strText);
            EXPECT_EQ(33u, dialog.m_dwValue) << pszText;
        }
        EXPECT_TRUE(dialog.Save(" 35 "));
        EXPECT_EQ(35u, dialog.m_dwValue);

        // Memory running out in the dialog's own work is told to nobody and ends the dialog.
        catcher.m_boxes.clear();
        dialog.m_bExhaustMemory = true;
        SetDlgItemTextA(hDlg, IDC_PRINTER_ID1, "37");
        SendMessageA(hDlg, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(AfxIsOutOfMemory()) << "outside any call, the thread's record outlives the message";
        EXPECT_TRUE(catcher.m_boxes.empty());
        EXPECT_EQ(35u, dialog.m_dwValue);
    });
    EXPECT_EQ(-1, result);
}

TEST(CBaseDialog, MemoryRunningOutWhileSettingUpEndsTheDialogWithMinusOneUnshown)
{
    MemoryReset reset;
    MessageBoxCatcher catcher;
    CRangeDialog dialog;
    dialog.m_bExhaustMemoryInInit = true;
    bool bShown = false;
    EXPECT_EQ(-1, RunModal(dialog, [&](HWND hDlg) {
        bShown = true;
        EndDialog(hDlg, IDOK);
    }));
    EXPECT_FALSE(bShown);
    EXPECT_TRUE(catcher.m_boxes.empty()) << "no message is put together without memory";
}
