// Calls of the real DLL that overlap on several threads, or nest on one, each behave as if
// they were alone: the same record as the call made alone, a failure of memory only in the
// call that ran out, never two threads inside the library at once, and the message and help
// of a call owned by its own dialog or by nothing: never by another call's window or by a
// window that is gone.
#include "support/component.h"
#include "support/record.h"
#include "support/failing_allocator.h"

#include "common_ids.h"
#include "support/dialog_driver.h"
#include "framework/afxres.h"
#include "support/import_patch.h"
#include "support/wine_test_support.h"
#include "support/zrapi_scenario.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {
const char *const MODELS[] = {"RX-7100W", "RX-9100W"};
const int RX7100W = 0;
const int RX9100W = 1;

// Each printer reports the model it is named after; any other name is an RX-9100W.
ZrapiScenario TwoPrinters()
{
    return ZrapiScenario().Add("printer_device_id RX-7100W MFG:ZR;CMD:ZRPL;MDL:RX-7100W;CLS:PRINTER;");
}

// While alive, the handler runs once for every option dialog that comes up on this thread,
// from a thread timer, inside whichever modal loop runs; it may start a nested call.
class DialogWatch {
public:
    explicit DialogWatch(std::function<void(HWND)> onDialog)
        : m_onDialog(std::move(onDialog)), m_nTimer(SetTimer(nullptr, 0, 10, OnTimer))
    {
        t_pWatch = this;
    }
    ~DialogWatch()
    {
        KillTimer(nullptr, m_nTimer);
        t_pWatch = nullptr;
    }
    DialogWatch(const DialogWatch &) = delete;
    DialogWatch &operator=(const DialogWatch &) = delete;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        if (!t_pWatch)
            return;
        for (HWND hDlg : OptionDialogsOfThisThread()) {
            if (t_pWatch->m_seen.insert(hDlg).second)
                t_pWatch->m_onDialog(hDlg);
        }
    }

    static thread_local DialogWatch *t_pWatch;
    std::function<void(HWND)> m_onDialog;
    std::set<HWND> m_seen;
    UINT_PTR m_nTimer;
};
thread_local DialogWatch *DialogWatch::t_pWatch = nullptr;

// The owner windows that the DLL hands to message boxes and to the help viewer while alive;
// neither is shown.
class OwnerWatch {
public:
    explicit OwnerWatch(HMODULE hModule)
        : m_message(hModule, "user32.dll", "MessageBoxA", reinterpret_cast<void *>(Message)),
          m_help(hModule, "user32.dll", "WinHelpA", reinterpret_cast<void *>(Help))
    {
        Clear();
    }
    bool Patched() const { return m_message.Patched() && m_help.Patched(); }
    std::vector<HWND> MessageOwners() const { return Copy(s_messageOwners); }
    std::vector<HWND> HelpOwners() const { return Copy(s_helpOwners); }
    void Clear()
    {
        std::lock_guard<std::mutex> lock(s_mutex);
        s_messageOwners.clear();
        s_helpOwners.clear();
    }

private:
    static int WINAPI Message(HWND hOwner, LPCSTR, LPCSTR, UINT)
    {
        Record(s_messageOwners, hOwner);
        return IDOK;
    }
    static BOOL WINAPI Help(HWND hOwner, LPCSTR, UINT, ULONG_PTR)
    {
        Record(s_helpOwners, hOwner);
        return TRUE;
    }
    static void Record(std::vector<HWND> &owners, HWND hOwner)
    {
        std::lock_guard<std::mutex> lock(s_mutex);
        owners.push_back(hOwner);
    }
    static std::vector<HWND> Copy(const std::vector<HWND> &owners)
    {
        std::lock_guard<std::mutex> lock(s_mutex);
        return owners;
    }

    static std::mutex s_mutex;
    static std::vector<HWND> s_messageOwners;
    static std::vector<HWND> s_helpOwners;
    ImportPatch m_message;
    ImportPatch m_help;
};
std::mutex OwnerWatch::s_mutex;
std::vector<HWND> OwnerWatch::s_messageOwners;
std::vector<HWND> OwnerWatch::s_helpOwners;

class OverlapTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_component.Loaded());
        m_input = CallerRecord();
    }

    LONG Query(int nModel, OptionInfo &output) const
    {
        output = Canary();
        return m_component.Call(MODELS[nModel], MODELS[nModel], &m_input, &output, FALSE, TRUE);
    }

    ZrapiSession m_session{TwoPrinters()};
    Component m_component;
    OptionInfo m_input;
};

TEST_F(OverlapTest, ThreadsQueryingBothModelsEachGetTheRecordOfTheCallAlone)
{
    OptionInfo alone[2];
    ASSERT_EQ(1, Query(RX7100W, alone[RX7100W]));
    ASSERT_EQ(1, Query(RX9100W, alone[RX9100W]));
    ASSERT_FALSE(SameRecord(alone[RX7100W], alone[RX9100W]));

    // Every allocation of the first threads fails; the others must not notice.
    const int THREADS = 8;
    const int STARVED_THREADS = 2;
    const int CALLS = 150;
    CFailingAllocator allocator(m_component.Module());
    ASSERT_GT(allocator.Patched(), 0);
    std::atomic<int> nWrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < THREADS; ++t) {
        threads.emplace_back([&, t] {
            const bool bStarved = t < STARVED_THREADS;
            if (bStarved)
                allocator.Restart(1);
            for (int i = 0; i < CALLS; ++i) {
                const int nModel = (t + i) % 2;
                OptionInfo output;
                const LONG result = Query(nModel, output);
                const bool bAsAlone = bStarved ? result == 0 && IsCanary(output)
                                               : result == 1 && SameRecord(output, alone[nModel]);
                nWrong += bAsAlone ? 0 : 1;
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(0, nWrong.load()) << "calls of " << THREADS * CALLS << " that differ from the call alone";
    EXPECT_EQ(std::string::npos, ReadFileText(m_session.m_strLogPath).find(" overlapped"))
        << "the library was called from two threads at once";
}

// A call with the dialog on a thread of its own; the dialog stays up until closed.
class DialogCall {
public:
    explicit DialogCall(const Component &component)
        : m_hOpen(CreateEventA(nullptr, TRUE, FALSE, nullptr)), m_thread([this, &component] {
              DialogWatch watch([this](HWND hDlg) {
                  m_hDlg = hDlg;
                  SetEvent(m_hOpen);
              });
              OptionInfo output = Canary();
              const OptionInfo input = CallerRecord();
              component.Call("RX-9100W", "RX-9100W", &input, &output, TRUE, FALSE);
          })
    {
        WaitForSingleObject(m_hOpen, 10000);
    }
    ~DialogCall()
    {
        Close();
        CloseHandle(m_hOpen);
    }
    DialogCall(const DialogCall &) = delete;
    DialogCall &operator=(const DialogCall &) = delete;

    HWND Dialog() const { return m_hDlg; }
    // Cancels the dialog and waits for the call, and its thread, to end.
    void Close()
    {
        if (!m_thread.joinable())
            return;
        PostMessageA(m_hDlg, WM_COMMAND, IDCANCEL, 0);
        m_thread.join();
    }

private:
    HANDLE m_hOpen;
    std::atomic<HWND> m_hDlg{nullptr};
    std::thread m_thread;
};

// With the dialog's fields open, an ID that is no number brings the framework's message,
// owned by the dialog's own call; an odd one the printer-ID range message, owned by nothing.
void EnterWrongIds(HWND hDlg)
{
    Click(hDlg, IDC_SETTINGS_SHEET);
    SetDlgItemTextA(hDlg, IDC_PRINTER_ID1, "x");
    Click(hDlg, IDOK);
    SetDlgItemTextA(hDlg, IDC_PRINTER_ID1, "31");
    Click(hDlg, IDOK);
}

// On a thread of its own: a call whose dialog asks for help and shows messages hands that
// dialog as their owner, or no owner for the range message.
void ExpectThirdCallOwnsItsWindows(const Component &component, OwnerWatch &owners, const char *pszWhen)
{
    SCOPED_TRACE(pszWhen);
    owners.Clear();
    HWND hOwnDialog = nullptr;
    std::thread([&] {
        const OptionInfo input = CallerRecord();
        OptionInfo output = Canary();
        DialogWatch watch([&](HWND hDlg) {
            hOwnDialog = hDlg;
            Click(hDlg, ID_HELP);
            EnterWrongIds(hDlg);
            Click(hDlg, IDCANCEL);
        });
        EXPECT_EQ(0, component.Call("RX-9100W", "RX-9100W", &input, &output, TRUE, FALSE));
    }).join();
    ASSERT_NE(nullptr, hOwnDialog);
    EXPECT_EQ((std::vector<HWND>{hOwnDialog, nullptr}), owners.MessageOwners());
    EXPECT_EQ(std::vector<HWND>{hOwnDialog}, owners.HelpOwners());
}

TEST_F(OverlapTest, DialogsOnTwoThreadsClosedInEitherOrderLeaveNoOwnerBehind)
{
    OwnerWatch owners(m_component.Module());
    ASSERT_TRUE(owners.Patched());
    // The Help button of a dialog on another thread, handled there before SendMessage returns.
    auto expectOwnHelp = [&](const DialogCall &call) {
        owners.Clear();
        SendMessageA(call.Dialog(), WM_COMMAND, ID_HELP, 0);
        EXPECT_EQ(std::vector<HWND>{call.Dialog()}, owners.HelpOwners());
    };
    for (bool bFirstOpenedClosesFirst : {true, false}) {
        SCOPED_TRACE(bFirstOpenedClosesFirst ? "the first opened closes first"
                                             : "the last opened closes first");
        DialogCall first(m_component);
        DialogCall second(m_component);
        ASSERT_NE(nullptr, first.Dialog());
        ASSERT_NE(nullptr, second.Dialog());
        expectOwnHelp(first);
        expectOwnHelp(second);
        DialogCall &closing = bFirstOpenedClosesFirst ? first : second;
        DialogCall &staying = bFirstOpenedClosesFirst ? second : first;
        closing.Close();
        expectOwnHelp(staying);
        ExpectThirdCallOwnsItsWindows(m_component, owners, "one dialog still up");
        staying.Close();
        ExpectThirdCallOwnsItsWindows(m_component, owners, "both dialogs gone");
    }
}

// The caller's own window, whose click handler makes a call while the dialog of another runs.
class CallersWindow {
public:
    explicit CallersWindow(std::function<void()> onClick) : m_onClick(std::move(onClick))
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "OptinfoCallersWindow";
        RegisterClassA(&windowClass);
        m_hWnd = CreateWindowExA(0, windowClass.lpszClassName, "caller", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                 nullptr, nullptr, windowClass.hInstance, this);
    }
    ~CallersWindow() { DestroyWindow(m_hWnd); }
    CallersWindow(const CallersWindow &) = delete;
    CallersWindow &operator=(const CallersWindow &) = delete;

    // Queued like a click: handled by whichever message loop of the thread runs next.
    void Click() const { PostMessageA(m_hWnd, WM_LBUTTONUP, 0, 0); }

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
    {
        if (nMessage == WM_NCCREATE)
            SetWindowLongPtrA(
                hWnd, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA *>(lParam)->lpCreateParams));
        auto *pWindow = reinterpret_cast<CallersWindow *>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (nMessage == WM_LBUTTONUP && pWindow) {
            pWindow->m_onClick();
            return 0;
        }
        return DefWindowProcA(hWnd, nMessage, wParam, lParam);
    }

    std::function<void()> m_onClick;
    HWND m_hWnd = nullptr;
};

TEST_F(OverlapTest, CallNestedInARunningDialogLeavesTheOuterCallAsItWas)
{
    OwnerWatch owners(m_component.Module());
    CFailingAllocator allocator(m_component.Module());
    // The outer call: the user picks the cassette, then asks for help and presses OK.
    auto runOuter = [&](const std::function<void(HWND)> &beforeOk) {
        owners.Clear();
        HWND hOuter = nullptr;
        std::vector<HWND> nested;
        DialogWatch watch([&](HWND hDlg) {
            if (hOuter) {
                nested.push_back(hDlg);
                Click(hDlg, ID_HELP);
                Click(hDlg, IDCANCEL);
                return;
            }
            hOuter = hDlg;
            SendDlgItemMessageA(hDlg, IDC_PAPER_SOURCE, LB_SETCURSEL, 1, 0);
            beforeOk(hDlg);
        });
        OptionInfo output = Canary();
        EXPECT_EQ(1, m_component.Call("RX-9100W", "RX-9100W", &m_input, &output, TRUE, FALSE));
        // Each nested dialog owns its help, then the outer one owns its own again.
        nested.push_back(hOuter);
        EXPECT_EQ(nested, owners.HelpOwners());
        return output;
    };
    auto finish = [](HWND hOuter) {
        Click(hOuter, ID_HELP);
        Click(hOuter, IDOK);
    };
    const OptionInfo alone = runOuter(finish);

    LONG nestedResults[2] = {-1, -1};
    HWND hOuterDialog = nullptr;
    CallersWindow caller([&] {
        OptionInfo output = Canary();
        nestedResults[0] = m_component.Call("RX-9100W", "RX-9100W", &m_input, &output, TRUE, FALSE);
        allocator.Restart(1);
        nestedResults[1] = m_component.Call("RX-9100W", "RX-9100W", &m_input, &output, FALSE, TRUE);
        allocator.Restart();
        EXPECT_TRUE(IsCanary(output));
        finish(hOuterDialog);
    });
    const OptionInfo nested = runOuter([&](HWND hOuter) {
        hOuterDialog = hOuter;
        caller.Click();
    });
    EXPECT_EQ(0, nestedResults[0]) << "the nested dialog was cancelled";
    EXPECT_EQ(0, nestedResults[1]) << "the nested query ran out of memory";
    EXPECT_TRUE(SameRecord(alone, nested)) << "the outer call's record, as without the nested calls";
}

// The outer dialog stays usable while a call nested in it runs: what its handlers do belongs
// to the outer call. Its help and the framework's message are its own, and memory that runs
// out in its handling fails the outer call alone: the nested one still hands back what the
// user entered.
TEST_F(OverlapTest, OuterDialogUsedDuringANestedCallActsOnTheOuterCall)
{
    OptionInfo alone = Canary();
    {
        DialogWatch watch(ChooseCassetteAndOk);
        ASSERT_EQ(1, m_component.Call("RX-9100W", "RX-9100W", &m_input, &alone, TRUE, FALSE));
    }

    OwnerWatch owners(m_component.Module());
    CFailingAllocator allocator(m_component.Module());
    LONG nestedResult = -1;
    OptionInfo nestedOutput = Canary();
    CallersWindow caller([&] {
        nestedResult = m_component.Call("RX-9100W", "RX-9100W", &m_input, &nestedOutput, TRUE, FALSE);
    });
    HWND hOuter = nullptr;
    std::vector<HWND> helpOwners, messageOwners;
    DialogWatch watch([&](HWND hDlg) {
        if (!hOuter) {
            hOuter = hDlg;
            caller.Click();
            return;
        }
        owners.Clear();
        Click(hOuter, ID_HELP);
        EnterWrongIds(hOuter);
        helpOwners = owners.HelpOwners();
        messageOwners = owners.MessageOwners();
        allocator.Restart(1);
        Click(hOuter, IDC_SETTINGS_SHEET);
        allocator.Restart();
        ChooseCassetteAndOk(hDlg);
    });
    OptionInfo outerOutput = Canary();
    EXPECT_EQ(0, m_component.Call("RX-9100W", "RX-9100W", &m_input, &outerOutput, TRUE, FALSE));
    EXPECT_TRUE(IsCanary(outerOutput)) << "the outer call ran out of memory";
    EXPECT_EQ(1, nestedResult);
    EXPECT_TRUE(SameRecord(alone, nestedOutput)) << "what the user entered in the nested dialog";
    ASSERT_NE(nullptr, hOuter);
    EXPECT_EQ(std::vector<HWND>{hOuter}, helpOwners);
    EXPECT_EQ((std::vector<HWND>{hOuter, nullptr}), messageOwners);
}
} // namespace
