// The dialog linked statically with one language's resources, run for real under Xvfb and
// driven from inside the modal loop.
#include "framework/call_context.h"
#include "dialog/printer_inf_dlg.h"
#include "entry/printer_inf_app.h"
#include "entry/printer_query.h"
#include "framework/afxres.h"
#include "optinfo.h"
#include "resource.h"
#include "util/misc.h"

#include "support/dialog_driver.h"
#include "support/record.h"
#include "support/wine_test_support.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {
const char UNKNOWN_PRINTER[] = "No Such Printer 4711";

const int OPTION_CONTROLS[] = {
    IDC_ID_LABEL,      IDC_PRINTER_ID_GROUP, IDC_PRINTER_ID1,   IDC_PRINTER_ID2,   IDC_PRINTER_ID3,
    IDC_PRINTER_ID4,   IDC_PRINTER_ID5,      IDC_PRINTER_ID6,   IDC_ID_SEPARATOR1, IDC_ID_SEPARATOR2,
    IDC_ID_SEPARATOR3, IDC_ID_SEPARATOR4,    IDC_ID_SEPARATOR5, IDC_MEMORY_GROUP,  IDC_MEMORY_LABEL,
    IDC_MBYTE_LABEL,   IDC_MEMORY,
};
const int PAPER_CONTROLS[] = {IDC_PAPER_GROUP, IDC_PAPER_SOURCE};
const int REQUEST_CONTROLS[] = {IDC_SETTINGS_SHEET, IDCANCEL};
const int ALWAYS_ENABLED[] = {IDOK, ID_HELP};

std::string GuideInput()
{
    return Japanese() ? Ansi(u8"情報印刷実行後、ｵﾌﾟｼｮﾝ情報を入力してください。")
                      : "Please input the necessary information about your options after printing out the "
                        "settings sheet.";
}

std::string GuideStored()
{
    return Japanese() ? Ansi(u8"ｵﾌﾟｼｮﾝ情報は、既に設定されています。入力の必要はありません。")
                      : "Option information has already been stored.Therefore, you do not need to enter any "
                        "information.";
}

std::string RangeCaption()
{
    return Japanese() ? Ansi(u8"ｴﾗｰ") : "Error";
}

std::string RangeMessage()
{
    return Japanese() ? Ansi(u8"プリンタＩＤは30から70の範囲の偶数値を指定してください。")
                      : "The Printer ID must be an even number value within the range of  30 to 70.";
}

std::string PositiveIntegerPrompt()
{
    return Japanese() ? Ansi(u8"正の整数を入力してください。") : "Please enter a positive integer.";
}

struct DialogRun {
    INT_PTR nResult = 0;
    OptionInfo info;
    bool bScriptRan = false;
};

// Runs the dialog as the entry call does: state handed over, main window while it runs.
DialogRun RunDialog(const OptionInfo &input, BOOL bInfoStored, const DialogDriver::Script &script,
                    const std::string &strPrinter = UNKNOWN_PRINTER)
{
    CPrinterInfDlg dialog(nullptr);
    dialog.m_nModelIndex = MODEL_INDEX_RX9100W;
    dialog.m_bInfoStored = bInfoStored;
    dialog.m_bSheetRequested = FALSE;
    dialog.m_strPrinterName = strPrinter.c_str();
    dialog.m_optionInfo = input;
    CCallContext call; // the dialog runs as the main window of a call, as the entry call runs it
    theApp.SetMainWnd(&dialog);
    DialogRun run;
    {
        DialogDriver driver(script);
        run.nResult = dialog.DoModal();
        run.bScriptRan = driver.Ran();
    }
    run.info = dialog.m_optionInfo;
    return run;
}

template <size_t N> void ExpectEnabled(HWND hDlg, const int (&ids)[N], bool bEnabled, const char *pszWhat)
{
    for (int id : ids)
        EXPECT_EQ(bEnabled, ItemEnabled(hDlg, id)) << pszWhat << ": control " << id;
}

int ComboSelection(HWND hDlg)
{
    return static_cast<int>(SendDlgItemMessageA(hDlg, IDC_MEMORY, CB_GETCURSEL, 0, 0));
}

int ListSelection(HWND hDlg)
{
    return static_cast<int>(SendDlgItemMessageA(hDlg, IDC_PAPER_SOURCE, LB_GETCURSEL, 0, 0));
}

void SetPrinterIds(HWND hDlg, std::initializer_list<const char *> texts)
{
    int id = IDC_PRINTER_ID1;
    for (const char *pszText : texts)
        SetText(hDlg, id++, pszText);
}

// Puts the focus into a control without the Tab key, as a mouse click does.
void FocusByMouse(HWND hDlg, int nId)
{
    SendDlgItemMessageA(hDlg, nId, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendDlgItemMessageA(hDlg, nId, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

// One range message for the field, with the focus back in it and its whole text selected.
void ExpectRangeMessageFor(HWND hDlg, const MessageBoxCatcher &catcher, int nField)
{
    ASSERT_EQ(1u, catcher.m_boxes.size()) << "field " << nField;
    EXPECT_EQ(RangeMessage(), catcher.m_boxes[0].strText);
    EXPECT_EQ(RangeCaption(), catcher.m_boxes[0].strCaption);
    EXPECT_TRUE(catcher.m_boxes[0].bHasIcon);
    EXPECT_FALSE(catcher.m_boxes[0].bHasCancel);
    EXPECT_EQ(nField, FocusId(hDlg));
    DWORD dwStart = 99, dwEnd = 99;
    Selection(hDlg, nField, dwStart, dwEnd);
    EXPECT_EQ(0u, dwStart);
    EXPECT_EQ(ItemText(hDlg, nField).size(), dwEnd);
}

const OptionInfo SAMPLE = Record({1, 6, 40, 42, 44, 46, 48, 50, 1, 64, 1, 1});
} // namespace

TEST(PrinterInfDlgDisplay, RecordValuesAreShownAsTheyCome)
{
    struct Case {
        OptionInfo input;
        std::vector<std::string> ids;
        int nMemoryEntry;
        int nPaperEntry;
    } cases[] = {
        {Record({1, 6, 40, -1, 30, 70, 50, 60, 1, 64, 1, 1}), {"40", "0", "30", "70", "50", "60"}, 2, 1},
        {Record({0, 6, 40, 42, 44, 46, 48, 50, 1, 48, 0, 1}), {"0", "0", "0", "0", "0", "0"}, 0, 0},
        {Record({1, 3, 40, 42, 44, 46, 48, 50, 0, 64, 1, 0}), {"40", "42", "44", "0", "0", "0"}, 0, 0},
        {Record({1, 6, -1, -1, -1, -1, -1, -1, 1, -1, 1, -1}), {"0", "0", "0", "0", "0", "0"}, 0, 0},
        {Record({1, 6, 31, 99, 0, 8, 72, 28, 1, 96, 1, 5}), {"31", "99", "0", "8", "72", "28"}, 3, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(Fields(c.input));
        DialogRun run = RunDialog(c.input, TRUE, [&](HWND hDlg) {
            for (int i = 0; i < 6; ++i)
                EXPECT_EQ(c.ids[static_cast<size_t>(i)], ItemText(hDlg, IDC_PRINTER_ID1 + i))
                    << "field " << i;
            EXPECT_EQ(c.nMemoryEntry, ComboSelection(hDlg));
            EXPECT_EQ(4, SendDlgItemMessageA(hDlg, IDC_MEMORY, CB_GETCOUNT, 0, 0));
            EXPECT_EQ(c.nPaperEntry, ListSelection(hDlg));
            Click(hDlg, IDOK);
        });
        EXPECT_TRUE(run.bScriptRan);
        EXPECT_EQ(IDOK, run.nResult);
        EXPECT_EQ(Fields(c.input), Fields(run.info)) << "display only: OK writes nothing";
    }
}

TEST(PrinterInfDlgDisplay, EntriesAndTextsOfTheLanguage)
{
    const bool ja = Japanese();
    RunDialog(SAMPLE, TRUE, [&](HWND hDlg) {
        char text[256] = {};
        GetWindowTextA(hDlg, text, sizeof(text));
        EXPECT_EQ(ja ? Ansi(u8"プリンタ情報") : "Printer and Option Information", text);
        // The printer-ID group box and the "MByte" label swap identifiers between the sets.
        const struct {
            int id;
            const char *pszEnglish;
            const char *pszJapanese;
        } items[] = {
            {1010, "Optional Paper &Source:", u8"ｵﾌﾟｼｮﾝ給紙装置(&S)"},
            {1011, "&Memory:", u8"ＳＩＭＭ容量設定(&M)"},
            {1012, "Installed Memory", u8"実装ﾒﾓﾘ"},
            {ja ? 1014 : 1013, "MByte", u8"ﾒｶﾞﾊﾞｲﾄ"},
            {ja ? 1013 : 1014, "Printer &ID:", u8"プリンタＩＤ(&H)"},
            {1015, "ID", "ID"},
            {1016, "-", "-"},
            {1020, "-", "-"},
            {1008, "Setti&ngs Sheet...", u8"情報印刷実行(&J)"},
            {IDOK, "OK", "OK"},
            {IDCANCEL, "Cancel", u8"ｷｬﾝｾﾙ"},
            {ID_HELP, "&Help", u8"ヘルプ"},
        };
        for (const auto &item : items)
            EXPECT_EQ(ja ? Ansi(item.pszJapanese) : item.pszEnglish, ItemText(hDlg, item.id)) << item.id;

        char entry[256] = {};
        SendDlgItemMessageA(hDlg, IDC_PAPER_SOURCE, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(entry));
        EXPECT_EQ(ja ? Ansi(u8"用紙カセット2\t1") : "Paper Cassette 2\t1", entry);
        SendDlgItemMessageA(hDlg, IDC_MEMORY, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(entry));
        EXPECT_STREQ("          96", entry);

        LOGFONTA font = {};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(hDlg, WM_GETFONT, 0, 0)), sizeof(font), &font);
        EXPECT_EQ(ja ? Ansi(u8"ＭＳ Ｐゴシック") : "MS Sans Serif", font.lfFaceName);
        Click(hDlg, IDOK);
    });
}

TEST(PrinterInfDlgStates, StoredManualAndAfterASheet)
{
    auto expectState = [](HWND hDlg, bool bOptions, bool bPaperAndRequest, const std::string &strGuide) {
        ExpectEnabled(hDlg, OPTION_CONTROLS, bOptions, "memory and ID");
        ExpectEnabled(hDlg, PAPER_CONTROLS, bPaperAndRequest, "paper source");
        ExpectEnabled(hDlg, REQUEST_CONTROLS, bPaperAndRequest, "sheet and Cancel");
        ExpectEnabled(hDlg, ALWAYS_ENABLED, true, "OK and Help");
        EXPECT_EQ(strGuide, ItemText(hDlg, IDC_GUIDE_TEXT));
    };
    DialogRun run = RunDialog(SAMPLE, TRUE, [&](HWND hDlg) {
        expectState(hDlg, false, false, GuideStored());
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(IDOK, run.nResult);
    EXPECT_EQ(Fields(SAMPLE), Fields(run.info)) << "stored: OK writes nothing";

    MessageBoxCatcher catcher;
    RunDialog(SAMPLE, FALSE, [&](HWND hDlg) {
        expectState(hDlg, false, true, GuideInput());
        // Without a window manager the dialog may open inactive; activating it lets the
        // dialog manager give the focus to the control it chose.
        SetActiveWindow(hDlg);
        EXPECT_EQ(IDC_PAPER_SOURCE, FocusId(hDlg)) << "the first control open for input";
        for (int press = 1; press <= 2; ++press) {
            SetFocus(GetDlgItem(hDlg, IDC_PAPER_SOURCE));
            Click(hDlg, IDC_SETTINGS_SHEET);
            expectState(hDlg, true, true, GuideInput());
            EXPECT_EQ(IDC_MEMORY, FocusId(hDlg)) << "press " << press;
        }
        Click(hDlg, IDCANCEL);
    });
    EXPECT_TRUE(catcher.m_boxes.empty()) << "an unknown printer is not reported";
}

TEST(PrinterInfDlgOk, ManualWithoutSheetTakesThePaperSourceAndSetsTheFlags)
{
    DialogRun run = RunDialog(Record({0, 6, 11, 12, 13, 14, 15, 16, 0, 48, 0, 0}), FALSE, [](HWND hDlg) {
        SendDlgItemMessageA(hDlg, IDC_PAPER_SOURCE, LB_SETCURSEL, 1, 0);
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(IDOK, run.nResult);
    EXPECT_EQ(Fields(Record({1, 6, 11, 12, 13, 14, 15, 16, 1, 48, 1, 1})), Fields(run.info));
}

TEST(PrinterInfDlgOk, AfterASheetChecksAllFieldsButWritesOnlyTheCountedEntries)
{
    MessageBoxCatcher catcher;
    DialogRun run = RunDialog(Record({1, 3, 50, 52, 54, 56, 58, 60, 1, 32, 1, 1}), FALSE, [&](HWND hDlg) {
        Click(hDlg, IDC_SETTINGS_SHEET);
        EXPECT_EQ("0", ItemText(hDlg, IDC_PRINTER_ID4));
        Click(hDlg, IDOK);
        ExpectRangeMessageFor(hDlg, catcher, IDC_PRINTER_ID4);
        SetPrinterIds(hDlg, {"62", "52", "54", "30", "30", "30"});
        SendDlgItemMessageA(hDlg, IDC_MEMORY, CB_SETCURSEL, 3, 0);
        SendDlgItemMessageA(hDlg, IDC_PAPER_SOURCE, LB_SETCURSEL, 0, 0);
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(IDOK, run.nResult);
    EXPECT_EQ(Fields(Record({1, 3, 62, 52, 54, 56, 58, 60, 1, 96, 1, 0})), Fields(run.info));
}

TEST(PrinterInfDlgOk, AMemorySelectionOutsideTheTableKeepsTheMemoryAsItCame)
{
    // The drop-down list always has one of its four entries selected; only another program
    // can clear the selection or add a fifth entry.
    const OptionInfo input = Record({1, 6, 40, 42, 44, 46, 48, 50, 1, 48, 1, 1});
    for (bool bFifthEntry : {false, true}) {
        SCOPED_TRACE(bFifthEntry ? "a fifth entry selected" : "no entry selected");
        DialogRun run = RunDialog(input, FALSE, [&](HWND hDlg) {
            Click(hDlg, IDC_SETTINGS_SHEET);
            if (bFifthEntry)
                SendDlgItemMessageA(hDlg, IDC_MEMORY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("128"));
            const int nEntry = bFifthEntry ? 4 : -1;
            SendDlgItemMessageA(hDlg, IDC_MEMORY, CB_SETCURSEL, static_cast<WPARAM>(nEntry), 0);
            EXPECT_EQ(nEntry, ComboSelection(hDlg));
            Click(hDlg, IDOK);
        });
        EXPECT_EQ(IDOK, run.nResult);
        EXPECT_EQ(Fields(input), Fields(run.info));
    }
}

// The ID fields after a settings-sheet request, as the user meets them.
class PrinterIdFieldTest : public ::testing::Test {
protected:
    // Runs the script in the sheet-requested state; the dialog is then cancelled.
    void InSheetState(const std::function<void(HWND)> &script)
    {
        DialogRun run = RunDialog(SAMPLE, FALSE, [&](HWND hDlg) {
            Click(hDlg, IDC_SETTINGS_SHEET);
            script(hDlg);
            Click(hDlg, IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, run.nResult);
    }

    MessageBoxCatcher m_catcher;
};

TEST_F(PrinterIdFieldTest, TabAndShiftTabCheckTheFieldTheyLeave)
{
    for (bool bShift : {false, true}) {
        for (const char *pszValue : {"30", "50", "70", "31", "28", "72", "0", "08", ""}) {
            const bool bPasses = std::set<std::string>{"30", "50", "70"}.count(pszValue) == 1;
            SCOPED_TRACE(std::string("\"") + pszValue + (bShift ? "\", Shift+Tab" : "\", Tab"));
            m_catcher.m_boxes.clear();
            InSheetState([&](HWND hDlg) {
                // A bad value in the field that Tab moves to is not checked as the focus comes back.
                SetText(hDlg, IDC_PRINTER_ID2, "31");
                SetText(hDlg, IDC_PRINTER_ID4, "31");
                SetFocus(GetDlgItem(hDlg, IDC_PRINTER_ID3));
                SetText(hDlg, IDC_PRINTER_ID3, pszValue);
                PressKey(hDlg, VK_TAB, bShift);
                if (bPasses) {
                    EXPECT_TRUE(m_catcher.m_boxes.empty());
                    EXPECT_EQ(bShift ? IDC_PRINTER_ID2 : IDC_PRINTER_ID4, FocusId(hDlg));
                } else {
                    ExpectRangeMessageFor(hDlg, m_catcher, IDC_PRINTER_ID3);
                    EXPECT_EQ(*pszValue ? pszValue : "0", ItemText(hDlg, IDC_PRINTER_ID3));
                }
            });
        }
    }
}

TEST_F(PrinterIdFieldTest, OkReportsBadFieldsLeftByMouseOneAtATimeInOrder)
{
    DialogRun run = RunDialog(SAMPLE, FALSE, [&](HWND hDlg) {
        Click(hDlg, IDC_SETTINGS_SHEET);
        SetText(hDlg, IDC_PRINTER_ID5, "71");
        SetFocus(GetDlgItem(hDlg, IDC_PRINTER_ID2));
        SetText(hDlg, IDC_PRINTER_ID2, "31");
        FocusByMouse(hDlg, IDC_PRINTER_ID6);
        EXPECT_EQ(IDC_PRINTER_ID6, FocusId(hDlg));
        EXPECT_TRUE(m_catcher.m_boxes.empty()) << "a mouse click checks nothing";
        Click(hDlg, IDOK);
        ExpectRangeMessageFor(hDlg, m_catcher, IDC_PRINTER_ID2);
        m_catcher.m_boxes.clear();
        SetText(hDlg, IDC_PRINTER_ID2, "32");
        Click(hDlg, IDOK);
        ExpectRangeMessageFor(hDlg, m_catcher, IDC_PRINTER_ID5);
        SetText(hDlg, IDC_PRINTER_ID5, "36");
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(IDOK, run.nResult);
    EXPECT_EQ(Fields(Record({1, 6, 40, 32, 44, 46, 36, 50, 1, 64, 1, 1})), Fields(run.info));
}

TEST_F(PrinterIdFieldTest, TwoDigitsAreTypedAndAPastedNonNumberGetsThePositiveIntegerPrompt)
{
    InSheetState([&](HWND hDlg) {
        SetText(hDlg, IDC_PRINTER_ID2, "");
        SetFocus(GetDlgItem(hDlg, IDC_PRINTER_ID2));
        TypeChars(hDlg, IDC_PRINTER_ID2, "4a-26");
        EXPECT_EQ("42", ItemText(hDlg, IDC_PRINTER_ID2));

        SetText(hDlg, IDC_PRINTER_ID2, "4x");
        PressKey(hDlg, VK_TAB);
        Click(hDlg, IDOK);
        ASSERT_EQ(2u, m_catcher.m_boxes.size());
        for (const CaughtBox &box : m_catcher.m_boxes)
            EXPECT_EQ(PositiveIntegerPrompt(), box.strText);
        EXPECT_EQ(IDC_PRINTER_ID2, FocusId(hDlg));
        DWORD dwStart = 99, dwEnd = 99;
        Selection(hDlg, IDC_PRINTER_ID2, dwStart, dwEnd);
        EXPECT_EQ(0u, dwStart);
        EXPECT_EQ(2u, dwEnd);
    });
}

namespace {
struct HelpCall {
    HWND hOwner = nullptr;
    std::string strFile;
    UINT nCommand = 0;
    ULONG_PTR dwData = 0;
};
std::vector<HelpCall> g_helpCalls;

BOOL WINAPI RecordHelp(HWND hOwner, LPCSTR pszFile, UINT nCommand, ULONG_PTR dwData)
{
    g_helpCalls.push_back({hOwner, pszFile ? pszFile : "", nCommand, dwData});
    return TRUE;
}
} // namespace

// Through the entry call, which makes the dialog the main window only while it runs.
TEST(PrinterInfDlgHelp, HelpButtonAndF1OpenTopic4864OfTheModulesHelpFile)
{
    HelpViewerFn pfnSaved = g_pfnHelpViewer;
    g_pfnHelpViewer = RecordHelp;
    g_helpCalls.clear();
    CCallContext outer; // a call of the component that this one is nested in
    CWnd callersMainWindow;
    theApp.SetMainWnd(&callersMainWindow);
    HWND hDialog = nullptr;
    {
        DialogDriver driver([&](HWND hDlg) {
            hDialog = hDlg;
            Click(hDlg, ID_HELP);
            // F1 as the system delivers it: WM_HELP carries a HELPINFO about the control it
            // came from. WoW64 converts that record between its 32- and 64-bit forms and drops
            // a WM_HELP whose lParam points nowhere.
            HWND hControl = GetDlgItem(hDlg, IDC_PRINTER_ID1);
            HELPINFO info = {};
            info.cbSize = sizeof(info);
            info.iContextType = HELPINFO_WINDOW;
            info.iCtrlId = IDC_PRINTER_ID1;
            info.hItemHandle = hControl;
            info.dwContextId = GetWindowContextHelpId(hControl);
            GetCursorPos(&info.MousePos);
            SendMessageA(hDlg, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
            Click(hDlg, IDCANCEL);
        });
        OptionInfo output = SAMPLE;
        EXPECT_EQ(0, TKOpenPrinterInf(UNKNOWN_PRINTER, "RX-9100W", 0, &SAMPLE, &output, TRUE, FALSE));
        EXPECT_TRUE(driver.Ran());
    }
    EXPECT_EQ(&callersMainWindow, theApp.GetMainWnd()) << "the outer call's main window";
    g_pfnHelpViewer = pfnSaved;

    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string helpFile = module;
    helpFile = helpFile.substr(0, helpFile.rfind('.')) + ".HLP";
    ASSERT_EQ(2u, g_helpCalls.size());
    for (const HelpCall &call : g_helpCalls) {
        EXPECT_EQ(hDialog, call.hOwner) << "the dialog is the main window";
        EXPECT_EQ(0, lstrcmpiA(helpFile.c_str(), call.strFile.c_str())) << call.strFile;
        EXPECT_EQ(static_cast<UINT>(HELP_CONTEXT), call.nCommand);
        EXPECT_EQ(0x1300u, call.dwData);
    }
}

namespace {
OSVERSIONINFOA g_fakeVersion;

BOOL WINAPI FakeVersion(LPOSVERSIONINFOA pInfo)
{
    DWORD size = pInfo->dwOSVersionInfoSize;
    *pInfo = g_fakeVersion;
    pInfo->dwOSVersionInfoSize = size;
    return TRUE;
}

// Poses as another Windows version while alive.
class VersionScope {
public:
    VersionScope(DWORD dwPlatform, DWORD dwMajor, DWORD dwMinor) : m_pfnSaved(g_pfnGetVersionEx)
    {
        g_fakeVersion = OSVERSIONINFOA();
        g_fakeVersion.dwPlatformId = dwPlatform;
        g_fakeVersion.dwMajorVersion = dwMajor;
        g_fakeVersion.dwMinorVersion = dwMinor;
        g_pfnGetVersionEx = FakeVersion;
    }
    ~VersionScope() { g_pfnGetVersionEx = m_pfnSaved; }

private:
    VersionReaderFn m_pfnSaved;
};

BOOL WINAPI SessionZero(DWORD, DWORD *pdwSession)
{
    *pdwSession = 0;
    return TRUE;
}

const COLORREF GREY = RGB(192, 192, 192);
const COLORREF MARKER = RGB(1, 2, 3);

COLORREF BrushColour(HBRUSH hBrush)
{
    LOGBRUSH brush = {};
    return GetObjectA(hBrush, sizeof(brush), &brush) == sizeof(brush) ? brush.lbColor : CLR_INVALID;
}
} // namespace

TEST(PrinterInfDlgColours, GreyOnlyForButtonsDialogAndStaticsOfTheOlderNtVersions)
{
    const struct {
        DWORD dwPlatform, dwMajor, dwMinor;
        bool bGrey;
    } systems[] = {
        {VER_PLATFORM_WIN32s, 3, 10, false},        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, false},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, false}, {VER_PLATFORM_WIN32_NT, 3, 10, true},
        {VER_PLATFORM_WIN32_NT, 3, 50, true},       {VER_PLATFORM_WIN32_NT, 3, 51, true},
        {VER_PLATFORM_WIN32_NT, 4, 0, false},       {VER_PLATFORM_WIN32_NT, 5, 0, true},
        {VER_PLATFORM_WIN32_WINDOWS, 3, 0, false}, // no version code at all
    };
    for (const auto &system : systems) {
        SCOPED_TRACE(std::to_string(system.dwPlatform) + " " + std::to_string(system.dwMajor) + "." +
                     std::to_string(system.dwMinor));
        VersionScope version(system.dwPlatform, system.dwMajor, system.dwMinor);
        RunDialog(SAMPLE, TRUE, [&](HWND hDlg) {
            HDC hDC = CreateCompatibleDC(nullptr);
            HWND hCtrl = GetDlgItem(hDlg, IDC_GUIDE_TEXT);
            for (UINT type = CTLCOLOR_MSGBOX; type <= CTLCOLOR_STATIC; ++type) {
                SetBkColor(hDC, MARKER);
                const UINT message = WM_CTLCOLORMSGBOX + type;
                auto hBrush = reinterpret_cast<HBRUSH>(SendMessageA(
                    hDlg, message, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hCtrl)));
                const bool bGrey =
                    system.bGrey && (type == CTLCOLOR_BTN || type == CTLCOLOR_DLG || type == CTLCOLOR_STATIC);
                if (bGrey) {
                    EXPECT_EQ(GREY, BrushColour(hBrush)) << "type " << type;
                    EXPECT_EQ(GREY, GetBkColor(hDC)) << "type " << type;
                } else {
                    SetBkColor(hDC, MARKER);
                    auto hDefault = reinterpret_cast<HBRUSH>(DefWindowProcA(
                        hDlg, message, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hCtrl)));
                    EXPECT_EQ(hDefault, hBrush) << "type " << type;
                }
            }
            DeleteDC(hDC);
            Click(hDlg, IDOK);
        });
    }
}

TEST(PrinterInfDlgColours, TheBrushDiesWithTheDialog)
{
    VersionScope version(VER_PLATFORM_WIN32_NT, 3, 51);
    const DWORD dwObjectsBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 3; ++i) {
        RunDialog(SAMPLE, i % 2, [&](HWND hDlg) {
            HDC hDC = GetDC(hDlg);
            brushes.push_back(reinterpret_cast<HBRUSH>(SendMessageA(
                hDlg, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hDlg))));
            ReleaseDC(hDlg, hDC);
            Click(hDlg, i % 2 ? IDOK : IDCANCEL);
        });
    }
    ASSERT_EQ(3u, brushes.size());
    for (HBRUSH hBrush : brushes)
        EXPECT_EQ(0u, GetObjectType(hBrush)) << "the brush was deleted";
    EXPECT_EQ(dwObjectsBefore, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}

// Nobody logs on to session 0 from NT 6.0 on, though its window station says it is visible:
// neither the different-printer message nor the dialog appears there.
TEST(PrinterInfDlgSession, NoWindowInSessionZeroFromNt60On)
{
    const SessionReaderFn pfnSaved = g_pfnProcessIdToSessionId;
    g_pfnProcessIdToSessionId = SessionZero;
    for (DWORD dwMajor : {6u, 5u}) {
        const bool bShown = dwMajor < 6;
        SCOPED_TRACE(dwMajor);
        VersionScope version(VER_PLATFORM_WIN32_NT, dwMajor, bShown ? 1 : 0);
        {
            MessageBoxCatcher catcher;
            EXPECT_FALSE(CheckModel("RX-9100W", "RX-7100W"));
            EXPECT_EQ(bShown ? 1u : 0u, catcher.m_boxes.size()) << "the different-printer message";
        }
        DialogDriver driver([](HWND hDlg) { Click(hDlg, IDOK); });
        OptionInfo output = Canary();
        EXPECT_EQ(bShown ? 1 : 0,
                  TKOpenPrinterInf(UNKNOWN_PRINTER, "RX-9100W", 0, &SAMPLE, &output, TRUE, FALSE));
        EXPECT_EQ(bShown, driver.Ran());
        EXPECT_EQ(Fields(bShown ? SAMPLE : Canary()), Fields(output));
    }
    g_pfnProcessIdToSessionId = pfnSaved;
}
