// CBaseDialog and the framework's exchange under it, on a dialog of its own over template 103.
#include "dialog/base_dialog.h"
#include "resource.h"

#include "dialog/dialog_driver.h"
#include "support/wine_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace {
// Field 1001 exchanged as an unsigned number and checked by one of the range checks.
class CRangeDialog : public CBaseDialog {
public:
    using Check = void (CBaseDialog::*)(CDataExchange *, int, DWORD, DWORD, DWORD);

    CRangeDialog() : CBaseDialog(IDD_PRINTER_INF, nullptr) {}

    void DoControlDataExchange(int nIdc, CDataExchange *pDX) override
    {
        if (m_bThrowInExchange)
            throw std::runtime_error("exchange");
        if (nIdc != IDC_PRINTER_ID1)
            return;
        DDX_Text(pDX, nIdc, m_dwValue);
        (this->*m_check)(pDX, m_nCheckedId, m_dwValue, 31, 39);
    }
    BOOL OnInitDialog() override
    {
        if (m_bThrowInInit)
            throw std::runtime_error("init");
        return CBaseDialog::OnInitDialog();
    }
    void EnableInput() override { m_strModes += "E"; }
    void DisableInput() override { m_strModes += "D"; }

    Check m_check = &CBaseDialog::ValidateRange;
    int m_nCheckedId = IDC_PRINTER_ID1;
    DWORD m_dwValue = 0;
    bool m_bThrowInExchange = false;
    bool m_bThrowInInit = false;
    std::string m_strModes;
};

std::string RangePrompt()
{
    return Japanese() ? Ansi(u8"31 から 39 までの整数を入力してください。")
                      : "Please enter an integer between 31 and 39.";
}

std::string InternalFailure()
{
    return Japanese() ? Ansi(u8"このウィンドウで予期しないエラーが発生しました。")
                      : "An unexpected error occurred in this window.";
}

INT_PTR RunModal(CRangeDialog &dialog, const DialogDriver::Script &script)
{
    DialogDriver driver(script);
    return dialog.DoModal();
}

// The value typed into field 1001 and saved; the boxes shown on the way.
BOOL Save(CRangeDialog &dialog, HWND hDlg, const char *pszText)
{
    SetDlgItemTextA(hDlg, IDC_PRINTER_ID1, pszText);
    return dialog.UpdateControlData(IDC_PRINTER_ID1, TRUE);
}
} // namespace

TEST(CBaseDialog, RangeChecksPassTheirValuesAndReportOthersWithTheFrameworkPrompt)
{
    const struct {
        CRangeDialog::Check check;
        const char *pszName;
        std::vector<const char *> pass;
        std::vector<const char *> fail;
    } checks[] = {
        {&CBaseDialog::ValidateRange, "range", {"31", "32", "39"}, {"30", "40", "0"}},
        {&CBaseDialog::ValidateOddRange, "odd", {"31", "33", "39"}, {"32", "38", "29", "41"}},
        {&CBaseDialog::ValidateEvenRange, "even", {"32", "38"}, {"31", "39", "30", "40"}},
    };
    for (const auto &check : checks) {
        SCOPED_TRACE(check.pszName);
        MessageBoxCatcher catcher;
        CRangeDialog dialog;
        dialog.m_check = check.check;
        RunModal(dialog, [&](HWND hDlg) {
            for (const char *pszText : check.pass)
                EXPECT_TRUE(Save(dialog, hDlg, pszText)) << pszText;
            EXPECT_TRUE(catcher.m_boxes.empty());
            for (const char *pszText : check.fail) {
                catcher.m_boxes.clear();
                SetFocus(GetDlgItem(hDlg, IDC_PRINTER_ID3));
                EXPECT_FALSE(Save(dialog, hDlg, pszText)) << pszText;
                ASSERT_EQ(1u, catcher.m_boxes.size()) << pszText;
                EXPECT_EQ(RangePrompt(), catcher.m_boxes[0].strText);
                EXPECT_TRUE(catcher.m_boxes[0].bHasIcon);
                EXPECT_EQ(IDC_PRINTER_ID1, FocusId(hDlg));
                DWORD dwStart = 99, dwEnd = 99;
                Selection(hDlg, IDC_PRINTER_ID1, dwStart, dwEnd);
                EXPECT_EQ(0u, dwStart);
                EXPECT_EQ(strlen(pszText), dwEnd);
            }
            EndDialog(hDlg, IDOK);
        });
    }
}

TEST(CBaseDialog, NothingIsCheckedWhileLoadingOrForAnotherControl)
{
    MessageBoxCatcher catcher;
    CRangeDialog dialog;
    RunModal(dialog, [&](HWND hDlg) {
        dialog.m_dwValue = 77;
        EXPECT_TRUE(dialog.UpdateControlData(IDC_PRINTER_ID1, FALSE));
        EXPECT_EQ("77", ItemText(hDlg, IDC_PRINTER_ID1));
        dialog.m_nCheckedId = IDC_PRINTER_ID2;
        EXPECT_TRUE(Save(dialog, hDlg, "50"));
        EXPECT_EQ(50u, dialog.m_dwValue);
        EndDialog(hDlg, IDOK);
    });
    EXPECT_TRUE(catcher.m_boxes.empty());
}

TEST(CBaseDialog, TextsThatAreNoUnsignedNumberKeepTheValue)
{
    MessageBoxCatcher catcher;
    CRangeDialog dialog;
    dialog.m_dwValue = 33;
    RunModal(dialog, [&](HWND hDlg) {
        for (const char *pszText : {"4294967296", "-1", "3 4", "x", "", " "}) {
            catcher.m_boxes.clear();
            EXPECT_FALSE(Save(dialog, hDlg, pszText)) << pszText;
            ASSERT_EQ(1u, catcher.m_boxes.size()) << pszText;
            EXPECT_EQ(Japanese() ? Ansi(u8"正の整数を入力してください。")
                                 : "Please enter a positive integer.",
                      catcher.m_boxes[0].strText);
            EXPECT_EQ(33u, dialog.m_dwValue) << pszText;
        }
        dialog.m_check = &CBaseDialog::ValidateRange;
        catcher.m_boxes.clear();
        EXPECT_TRUE(Save(dialog, hDlg, " 35 "));
        EXPECT_EQ(35u, dialog.m_dwValue);
        EndDialog(hDlg, IDOK);
    });
}

TEST(CBaseDialog, OtherFailuresInAnExchangeAreReportedAndFail)
{
    MessageBoxCatcher catcher;
    CRangeDialog dialog;
    RunModal(dialog, [&](HWND hDlg) {
        dialog.m_bThrowInExchange = true;
        EXPECT_FALSE(Save(dialog, hDlg, "35"));
        ASSERT_EQ(1u, catcher.m_boxes.size());
        EXPECT_EQ(InternalFailure(), catcher.m_boxes[0].strText);
        EndDialog(hDlg, IDOK);
    });
}

TEST(CBaseDialog, AFailedInitialisationEndsTheDialogWithMinusOne)
{
    MessageBoxCatcher catcher;
    CRangeDialog dialog;
    dialog.m_bThrowInInit = true;
    bool bScriptRan = false;
    EXPECT_EQ(-1, RunModal(dialog, [&](HWND hDlg) {
        bScriptRan = true;
        EndDialog(hDlg, IDOK);
    }));
    EXPECT_FALSE(bScriptRan) << "never shown";
    ASSERT_EQ(1u, catcher.m_boxes.size());
    EXPECT_EQ(InternalFailure(), catcher.m_boxes[0].strText);
}

TEST(CBaseDialog, InitialisationEndsInTheModeOfTheStoredFlag)
{
    for (BOOL bStored : {FALSE, TRUE}) {
        CRangeDialog dialog;
        dialog.m_bInfoStored = bStored;
        RunModal(dialog, [](HWND hDlg) { EndDialog(hDlg, IDOK); });
        EXPECT_EQ(bStored ? "D" : "E", dialog.m_strModes);
    }
}
