// The dialog rows of the entry call's outcomes, through the real DLL of the test's language
// (optinfo_ja.dll under code page 932), with the virtual printer and Wine's spooler.
#include "optinfo.h"

#include "common_ids.h"
#include "support/dialog_driver.h"
#include "support/record.h"
#include "support/failing_allocator.h"
#include "support/file_printer.h"
#include "support/wine_test_support.h"
#include "support/zrapi_scenario.h"

#include <gtest/gtest.h>

#include <iostream>

namespace {
const char MODEL[] = "RX-9100W";
const char OTHER_MODEL[] = "RX-7100W";
const char PRINTER[] = "No Such Printer 4711";

const OptionInfo CALLER_RECORD = Record({0, 6, 11, 12, 13, 14, 15, 16, 0, 48, 0, 0});

// What one press of the settings-sheet button delivers to the printer.
const unsigned char SHEET_JOB[] = {
    0x1B, 0x40, 0x1B, 0x40,                                                    // job framing
    'P',  'r',  'i',  'n',  't',  'e',  'r',  ' ',  'I', 'D', 0x0D, 0x0A,      // label
    0x1B, 0x28, 0x52, 0x08, 0x00, 0x00, 'R',  'E',  'M', 'O', 'T',  'E',  '1', // remote mode
    'A',  'I',  0x03, 0x00, 0x00, 0x00, 0x00,                                  // command AI
    0x1B, 0x00, 0x00, 0x00,                                                    // remote exit
    0x0D, 0x0A, 'S',  'I',  'M',  'M',  0x0D, 0x0A,                            // label
    0x1B, 0x28, 0x52, 0x08, 0x00, 0x00, 'R',  'E',  'M', 'O', 'T',  'E',  '1', // remote mode
    'S',  'R',  0x02, 0x00, 0x00, 0x01,                                        // command SR
    0x1B, 0x00, 0x00, 0x00,                                                    // remote exit
    0x0C,                                                                      // form feed
    0x1B, 0x40, 0x1B, 0x40,                                                    // job framing
};

// The component's DLL of the running language, loaded from the test's folder.
class OutcomeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The options are read from the printer only on the versions that ask for them: the
        // test bed runs these programs as NT 4.0 under their _nt40 names.
        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof(version);
        ASSERT_TRUE(GetVersionExA(&version));
        ASSERT_TRUE(version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 4 &&
                    version.dwMinorVersion == 0)
            << "Windows reports " << version.dwMajorVersion << "." << version.dwMinorVersion
            << ": run this program as dialog_outcome_tests_<lang>_nt40.exe";
        std::string path = TestBinFolder() + (Japanese() ? "optinfo_ja.dll" : "optinfo_en.dll");
        m_hModule = LoadLibraryA(path.c_str());
        ASSERT_NE(nullptr, m_hModule) << path;
        m_pfnOpen = reinterpret_cast<PFN_TKOpenPrinterInf>(
            reinterpret_cast<void (*)()>(GetProcAddress(m_hModule, "TKOpenPrinterInf")));
        ASSERT_NE(nullptr, m_pfnOpen);
    }
    void TearDown() override
    {
        if (m_hModule)
            FreeLibrary(m_hModule);
    }

    // Calls the export with the dialog shown and the script driving it; the output record
    // starts as the canary.
    LONG CallWithDialog(BOOL bQuery, const DialogDriver::Script &script, const char *pszModel = MODEL,
                        const char *pszPrinter = PRINTER, const OptionInfo *pInput = &CALLER_RECORD)
    {
        m_output = Canary();
        DialogDriver driver(script);
        LONG result = m_pfnOpen(pszPrinter, pszModel, 0, pInput, &m_output, TRUE, bQuery);
        m_bDialogShown = driver.Ran();
        return result;
    }

    // The record that the printer of the current scenario yields without the dialog.
    OptionInfo PrinterRecord()
    {
        OptionInfo output = Canary();
        EXPECT_EQ(1, m_pfnOpen(PRINTER, MODEL, 0, &CALLER_RECORD, &output, FALSE, TRUE));
        return output;
    }

    // Where the dialog cannot be shown, the call fails, but for the printer's record, which
    // is handed back although it could not be shown.
    void ExpectOutcomesWithoutTheDialog()
    {
        EXPECT_EQ(0, CallWithDialog(FALSE, [](HWND hDlg) { Click(hDlg, IDOK); }));
        EXPECT_FALSE(m_bDialogShown);
        EXPECT_EQ(Fields(Canary()), Fields(m_output));
        ZrapiSession session;
        EXPECT_EQ(1, CallWithDialog(TRUE, [](HWND hDlg) { Click(hDlg, IDOK); }));
        EXPECT_FALSE(m_bDialogShown);
        EXPECT_EQ(Fields(PrinterRecord()), Fields(m_output));
    }

    HMODULE m_hModule = nullptr;
    PFN_TKOpenPrinterInf m_pfnOpen = nullptr;
    OptionInfo m_output;
    bool m_bDialogShown = false;
};

const OptionInfo MANUAL_OK = Record({1, 6, 11, 12, 13, 14, 15, 16, 1, 48, 1, 1});

// The process in a window station of its own, which nobody sees, as a service's is.
class HiddenWindowStation {
public:
    HiddenWindowStation()
        : m_hPrevious(GetProcessWindowStation()),
          m_hStation(CreateWindowStationA(nullptr, 0, WINSTA_ALL_ACCESS, nullptr))
    {
        m_bSet = m_hStation && SetProcessWindowStation(m_hStation);
    }
    ~HiddenWindowStation()
    {
        SetProcessWindowStation(m_hPrevious);
        if (m_hStation)
            CloseWindowStation(m_hStation);
    }
    bool IsSet() const { return m_bSet; }

private:
    HWINSTA m_hPrevious;
    HWINSTA m_hStation;
    bool m_bSet = false;
};

// Stops every window from being created while alive.
class CreationBlocker {
public:
    CreationBlocker() : m_hHook(SetWindowsHookExA(WH_CBT, Refuse, nullptr, GetCurrentThreadId())) {}
    ~CreationBlocker() { UnhookWindowsHookEx(m_hHook); }

private:
    static LRESULT CALLBACK Refuse(int nCode, WPARAM wParam, LPARAM lParam)
    {
        return nCode == HCBT_CREATEWND ? 1 : CallNextHookEx(nullptr, nCode, wParam, lParam);
    }
    HHOOK m_hHook;
};
} // namespace

TEST_F(OutcomeTest, WithoutQueryOkHandsBackTheDialogsRecord)
{
    EXPECT_EQ(1, CallWithDialog(FALSE, [](HWND hDlg) {
                  char caption[128] = {};
                  GetWindowTextA(hDlg, caption, sizeof(caption));
                  EXPECT_EQ(Japanese() ? Ansi(u8"プリンタ情報") : "Printer and Option Information", caption)
                      << "the language of the DLL";
                  ChooseCassetteAndOk(hDlg);
              }));
    EXPECT_TRUE(m_bDialogShown);
    EXPECT_EQ(Fields(MANUAL_OK), Fields(m_output));
}

TEST_F(OutcomeTest, WithoutQueryCancelEscapeAndCloseBoxReturnZeroAndWriteNothing)
{
    const DialogDriver::Script ways[] = {
        [](HWND hDlg) { Click(hDlg, IDCANCEL); },
        [](HWND hDlg) { PressKey(hDlg, VK_ESCAPE); },
        [](HWND hDlg) { SendMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto &cancel : ways) {
        EXPECT_EQ(0, CallWithDialog(FALSE, cancel));
        EXPECT_TRUE(m_bDialogShown);
        EXPECT_EQ(Fields(Canary()), Fields(m_output));
    }
}

TEST_F(OutcomeTest, AnyOtherDialogResultFailsTheCallUnlessThePrinterAnswered)
{
    // 0 is what a dialog ends with when its thread gets WM_QUIT.
    for (INT_PTR end : {0, 7}) {
        EXPECT_EQ(0, CallWithDialog(FALSE, [end](HWND hDlg) { EndDialog(hDlg, end); })) << end;
        EXPECT_EQ(Fields(Canary()), Fields(m_output));
    }
    ZrapiSession session;
    EXPECT_EQ(1, CallWithDialog(TRUE, [](HWND hDlg) { EndDialog(hDlg, 7); }));
    EXPECT_EQ(Fields(PrinterRecord()), Fields(m_output));
}

TEST_F(OutcomeTest, ADialogThatCannotBeCreatedFailsTheCallUnlessThePrinterAnswered)
{
    CreationBlocker blocker;
    ExpectOutcomesWithoutTheDialog();
}

// A message box or dialog there would wait for a click that never comes. The catcher keeps
// the thread on the visible desktop it had, so that a window shown by mistake is seen.
TEST_F(OutcomeTest, InAWindowStationNobodySeesNoWindowIsShown)
{
    MessageBoxCatcher catcher;
    HiddenWindowStation station;
    ASSERT_TRUE(station.IsSet());
    {
        ZrapiSession session(ZrapiScenario().DeviceId("MFG:ZR;MDL:RX-7100W;"));
        EXPECT_EQ(0, CallWithDialog(TRUE, [](HWND hDlg) { Click(hDlg, IDOK); })) << "another printer";
    }
    // The dialog counts as one that could not be made.
    ExpectOutcomesWithoutTheDialog();
    EXPECT_TRUE(catcher.m_boxes.empty());
}

TEST_F(OutcomeTest, TheOtherModelGetsNoDialog)
{
    EXPECT_EQ(0, CallWithDialog(
                     FALSE, [](HWND hDlg) { Click(hDlg, IDOK); }, OTHER_MODEL));
    EXPECT_FALSE(m_bDialogShown);
    EXPECT_EQ(Fields(Canary()), Fields(m_output));

    // Also when that model answered and its options were read.
    ZrapiSession session(ZrapiScenario().DeviceId("MFG:ZR;MDL:RX-7100W;CLS:PRINTER;"));
    EXPECT_EQ(0, CallWithDialog(
                     TRUE, [](HWND hDlg) { Click(hDlg, IDOK); }, OTHER_MODEL));
    EXPECT_FALSE(m_bDialogShown);
    EXPECT_EQ(Fields(Canary()), Fields(m_output));
}

TEST_F(OutcomeTest, OptionsReadFromThePrinterComeBackWhateverTheButton)
{
    ZrapiSession session;
    const OptionInfo printer = PrinterRecord();
    ASSERT_NE(Fields(CALLER_RECORD), Fields(printer));
    const DialogDriver::Script ways[] = {
        [](HWND hDlg) { Click(hDlg, IDOK); },
        [](HWND hDlg) { SendMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0); },
        [](HWND hDlg) { EndDialog(hDlg, IDCANCEL); },
    };
    for (const auto &end : ways) {
        EXPECT_EQ(1, CallWithDialog(TRUE, [&](HWND hDlg) {
                      EXPECT_FALSE(ItemEnabled(hDlg, IDCANCEL)) << "stored state";
                      EXPECT_FALSE(ItemEnabled(hDlg, IDC_SETTINGS_SHEET));
                      EXPECT_EQ("40", ItemText(hDlg, IDC_PRINTER_ID6)) << "the printer's values are shown";
                      end(hDlg);
                  }));
        EXPECT_TRUE(m_bDialogShown);
        EXPECT_EQ(Fields(printer), Fields(m_output));
    }
}

TEST_F(OutcomeTest, AFailedOptionReadLeavesTheChoiceToTheUser)
{
    ZrapiSession session(ZrapiScenario().Fail("ZRGetStatus", 0, -1));
    OptionInfo output = Canary();
    ASSERT_EQ(0, m_pfnOpen(PRINTER, MODEL, 0, &CALLER_RECORD, &output, FALSE, TRUE)) << "the read fails";

    EXPECT_EQ(1, CallWithDialog(TRUE, [](HWND hDlg) {
                  EXPECT_TRUE(ItemEnabled(hDlg, IDCANCEL)) << "manual state";
                  EXPECT_EQ("11", ItemText(hDlg, IDC_PRINTER_ID1)) << "the caller's values, now flagged";
                  ChooseCassetteAndOk(hDlg);
              }));
    EXPECT_EQ(Fields(MANUAL_OK), Fields(m_output));

    EXPECT_EQ(0, CallWithDialog(TRUE, [](HWND hDlg) { Click(hDlg, IDCANCEL); }));
    EXPECT_EQ(Fields(Canary()), Fields(m_output));
}

// Also without a record: the parts typed count, all six.
TEST_F(OutcomeTest, EachSettingsSheetPressSendsOneJobAndOpensTheInputs)
{
    CFilePrinter printer("optinfo dialog");
    ASSERT_TRUE(printer.IsReady()) << "the spooler refused the file printer";
    MessageBoxCatcher catcher;
    const std::string job(reinterpret_cast<const char *>(SHEET_JOB), sizeof(SHEET_JOB));
    ASSERT_EQ(76u, job.size());
    for (const OptionInfo *pInput : {&CALLER_RECORD, static_cast<const OptionInfo *>(nullptr)}) {
        SCOPED_TRACE(pInput ? "the caller's record" : "no record");
        EXPECT_EQ(1, CallWithDialog(
                         FALSE,
                         [&](HWND hDlg) {
                             for (int press = 1; press <= 2; ++press) {
                                 Click(hDlg, IDC_SETTINGS_SHEET);
                                 EXPECT_EQ(job, printer.TakeOutput()) << "press " << press;
                                 EXPECT_TRUE(ItemEnabled(hDlg, IDC_PRINTER_ID1));
                                 EXPECT_EQ(IDC_MEMORY, FocusId(hDlg));
                             }
                             SendDlgItemMessageA(hDlg, IDC_MEMORY, CB_SETCURSEL, 1, 0);
                             int id = IDC_PRINTER_ID1;
                             for (const char *pszValue : {"70", "68", "66", "64", "62", "60"})
                                 SetText(hDlg, id++, pszValue);
                             Click(hDlg, IDOK);
                         },
                         MODEL, printer.Name().c_str(), pInput));
        EXPECT_EQ(Fields(Record({1, 6, 70, 68, 66, 64, 62, 60, 1, 32, 1, 0})), Fields(m_output));
    }
    EXPECT_TRUE(catcher.m_boxes.empty());
}

// Each allocation of a call that shows the dialog failing in turn, alone, so that the
// component must stop by itself while memory is there again: a dialog that cannot be set up
// is not shown, one that runs out of memory later ends, no message is shown, no settings
// sheet is printed once an allocation has failed, and the call fails cleanly (0, the record
// untouched, no block left behind). A query that ran out does not lead to the dialog for
// manual input. With memory again the call works. The Japanese DLL is the same code with
// other resources; the query-only sweep covers its allocations.
TEST_F(OutcomeTest, EveryAllocationFailingFailsTheCallCleanly)
{
    if (Japanese())
        GTEST_SKIP() << "run with the English DLL: a dialog for each allocation takes a while";
    ZrapiSession session;
    CFilePrinter printer("optinfo dialog");
    ASSERT_TRUE(printer.IsReady()) << "the spooler refused the file printer";
    const std::string sheet(reinterpret_cast<const char *>(SHEET_JOB), sizeof(SHEET_JOB));
    CFailingAllocator allocator(m_hModule);
    ASSERT_GT(allocator.Patched(), 0) << "the DLL imports no allocator";
    MessageBoxCatcher catcher;
    unsigned int failing = 0; // the allocation that fails in this call; 0: none
    const struct {
        BOOL bQuery;
        DialogDriver::Script script;
    } calls[] = {
        {TRUE, [](HWND hDlg) { Click(hDlg, IDOK); }},
        {FALSE,
         [&](HWND hDlg) {
             Click(hDlg, IDC_SETTINGS_SHEET);
             // The dialog ends once memory ran out: a sheet printed then is one the user
             // cannot use.
             const bool bRanOut = failing != 0 && allocator.Allocations() >= failing;
             EXPECT_EQ(bRanOut ? "" : sheet, printer.TakeOutput()) << "the job of the press";
             int id = IDC_PRINTER_ID1;
             for (const char *pszValue : {"30", "32", "34", "36", "38", "40"})
                 SetText(hDlg, id++, pszValue);
             ChooseCassetteAndOk(hDlg);
         }},
    };
    for (const auto &call : calls) {
        SCOPED_TRACE(call.bQuery ? "options read" : "settings sheet and input");
        const auto callWithDialog = [&]() {
            return CallWithDialog(call.bQuery, call.script, MODEL, printer.Name().c_str());
        };
        failing = 0;
        allocator.Restart();
        ASSERT_EQ(1, callWithDialog());
        const std::string expected = Fields(m_output);
        const unsigned int count = allocator.Allocations();
        ASSERT_GT(count, 0u);
        std::cout << count << " allocations in the call\n";
        for (unsigned int n = 1; n <= count; ++n) {
            SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(count) + " failing");
            failing = n;
            allocator.Restart(n, 1);
            EXPECT_EQ(0, callWithDialog());
            EXPECT_EQ(Fields(Canary()), Fields(m_output));
            EXPECT_EQ(0, allocator.LiveBlocks());
            EXPECT_EQ("", printer.TakeOutput()) << "a job other than the press's";
        }
        failing = 0;
        allocator.Restart();
        EXPECT_EQ(1, callWithDialog());
        EXPECT_EQ(expected, Fields(m_output));
    }
    EXPECT_TRUE(catcher.m_boxes.empty());
}
