// The randomised sweep: scenarios of the virtual printer that answer with hostile data and
// fail at every call position drive query-only calls of the real DLL, one process per
// Windows version that reads options. Each call must come to what a replay of the scenario
// says (result, record or untouched canary, message box or none), and the call log must
// show every start released and every opened channel closed, with the library unloaded.
//
// OPTINFO_SWEEP_SEED and OPTINFO_SWEEP_COUNT choose the random scenarios.
#include "support/component.h"
#include "support/record.h"
#include "expected_outcome.h"
#include "support/failing_allocator.h"
#include "sweep_case.h"

#include "support/wine_test_support.h"
#include "support/zrapi_scenario.h"

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <set>

namespace {
const char PRINTER[] = "Office RX";
const DWORD PRIMARY = 0x10010003;
const DWORD FALLBACK = 0x10000003;
const unsigned int DEFAULT_SEED = 20240607;
const unsigned int DEFAULT_COUNT = 500;
const int FAILURES_SHOWN = 10;
const size_t SCENARIO_SHOWN = 3000; // characters of a scenario in a failure message

// The channels asked depend on the system that the process runs as.
bool ChannelPlanOfThisSystem(SweepChannelPlan &plan)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExA(&version))
        return false;
    const bool is40 = version.dwMajorVersion == 4 && version.dwMinorVersion == 0;
    if ((version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ||
         version.dwPlatformId == VER_PLATFORM_WIN32_NT) &&
        is40) {
        plan = SWEEP_PLAN_PRIMARY_THEN_FALLBACK;
        return true;
    }
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 3 &&
        version.dwMinorVersion == 51) {
        plan = SWEEP_PLAN_FALLBACK_ONLY;
        return true;
    }
    return false;
}

// From the component's side of the log: every call but the starts is made under a start,
// every start that was not refused is released once, no start is released while one of
// its channels is open, every handle that an open returned is closed, and the library
// was unloaded at the end.
::testing::AssertionResult LogShowsEverythingReleased(const std::vector<ZrapiCall> &calls)
{
    int starts = 0;
    std::set<std::string> open;
    for (size_t i = 0; i < calls.size(); ++i) {
        const ZrapiCall &call = calls[i];
        const std::string where = " (log line " + std::to_string(i + 1) + ")";
        if (call.strFunction == "load") {
            if (call.inputs.count("error"))
                return ::testing::AssertionFailure() << "scenario refused: " << call.inputs.at("error");
        } else if (call.strFunction == "unload") {
            if (i + 1 != calls.size())
                return ::testing::AssertionFailure() << "calls after the unload" << where;
        } else if (call.strFunction == "ZRInitialize") {
            starts += call.nResult != -13 ? 1 : 0;
        } else if (call.strFunction == "ZRRelease") {
            if (starts == 0)
                return ::testing::AssertionFailure() << "a release without a start" << where;
            if (!open.empty())
                return ::testing::AssertionFailure()
                       << "released with channel " << *open.begin() << " open" << where;
            --starts;
        } else {
            if (starts == 0)
                return ::testing::AssertionFailure() << call.strFunction << " without a start" << where;
            if (call.strFunction == "ZROpenChannel" && call.nResult >= 0)
                open.insert(std::to_string(call.nResult));
            if (call.strFunction == "ZRCloseChannel" && open.erase(call.inputs.at("channel")) == 0)
                return ::testing::AssertionFailure()
                       << "closed channel " << call.inputs.at("channel") << " that was not open" << where;
        }
    }
    if (calls.empty() || calls.back().strFunction != "unload")
        return ::testing::AssertionFailure() << "the library was not unloaded";
    if (starts != 0 || !open.empty())
        return ::testing::AssertionFailure()
               << starts << " start(s) and " << open.size() << " channel(s) left at the unload";
    if (GetModuleHandleA("ZRAPI.DLL"))
        return ::testing::AssertionFailure() << "ZRAPI.DLL is still loaded";
    return ::testing::AssertionSuccess();
}

std::string RecordText(const OptionInfo &info)
{
    std::string text;
    const LONG *pField = reinterpret_cast<const LONG *>(&info);
    for (size_t i = 0; i < sizeof(info) / sizeof(LONG); ++i)
        text += (i ? " " : "") + std::to_string(pField[i]);
    return text;
}

std::string Shown(const std::string &strText)
{
    return strText.size() <= SCENARIO_SHOWN ? strText : strText.substr(0, SCENARIO_SHOWN) + "...";
}

class SweepTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_component.Loaded());
        if (!ChannelPlanOfThisSystem(m_plan))
            GTEST_SKIP() << "this system reads no options";
    }

    // One query-only call through the real DLL, judged against the replay of its scenario.
    void Check(const SweepCase &c, const std::string &strLabel)
    {
        if (m_nFailures >= FAILURES_SHOWN)
            return;
        SCOPED_TRACE(strLabel + "\n" + Shown(c.scenario.Text()));
        const char *pszModel = c.bNullModel ? nullptr : c.strCallerModel.c_str();
        const OptionInfo *pInput = c.bNullInput ? nullptr : &c.input;
        const ExpectedOutcome expected =
            ExpectQueryOutcome(c.scenario.Parsed().Printer(), pszModel, pInput, m_plan);
        ++m_outcomes[expected.strWhy];

        ZrapiSession session(c.scenario);
        m_catcher.m_boxes.clear();
        OptionInfo out = Canary();
        const LONG result = m_component.Call(m_pszPrinter, pszModel, pInput, &out, FALSE, TRUE);

        const bool passed = (expected.nResult == result) &&
                            (result == 1 ? SameRecord(expected.record, out) : IsCanary(out)) &&
                            m_catcher.m_boxes.size() == (expected.bMessageBox ? 1u : 0u);
        EXPECT_TRUE(passed) << "expected " << expected.nResult << " (" << expected.strWhy << "), got "
                            << result << ", message boxes " << m_catcher.m_boxes.size()
                            << "\nexpected record " << RecordText(expected.record) << "\nreturned record "
                            << RecordText(out);
        const ::testing::AssertionResult released = LogShowsEverythingReleased(session.Calls());
        EXPECT_TRUE(released);
        if (!passed || !released)
            ++m_nFailures;
    }

    void TearDown() override
    {
        std::cout << "outcomes:";
        for (const auto &outcome : m_outcomes)
            std::cout << " " << outcome.first << " " << outcome.second << ";";
        std::cout << "\n";
    }

    // Japanese systems (code page 932) get the Japanese library.
    Component m_component{GetACP() == 932 ? "ja" : "en"};
    MessageBoxCatcher m_catcher;
    std::map<std::string, int> m_outcomes;
    SweepChannelPlan m_plan = SWEEP_PLAN_PRIMARY_THEN_FALLBACK;
    const char *m_pszPrinter = PRINTER;
    int m_nFailures = 0;
};

SweepCase DefaultCase(const ZrapiScenario &scenario)
{
    SweepCase c;
    c.scenario = scenario;
    c.strCallerModel = "RX-9100W";
    c.input = CallerRecord();
    return c;
}

std::string Repeat(const std::string &strText, size_t nCount)
{
    std::string text;
    for (size_t i = 0; i < nCount; ++i)
        text += strText;
    return text;
}
} // namespace

TEST_F(SweepTest, RandomScenarios)
{
    const unsigned int seed = NumberSetting("OPTINFO_SWEEP_SEED", DEFAULT_SEED);
    const unsigned int count = ScaledCount("OPTINFO_SWEEP_COUNT", DEFAULT_COUNT, 1);
    CSweepGenerator generator(seed);
    for (unsigned int i = 0; i < count; ++i)
        Check(generator.Next(), "seed " + std::to_string(seed) + ", case " + std::to_string(i));
    RecordProperty("seed", static_cast<int>(seed));
    RecordProperty("count", static_cast<int>(count));
}

// Every call position of the functions called, failing with the two results that have a
// meaning and with others, as a failure and as a result after the work; once with the
// primary channel usable and once with the fallback asked as well.
TEST_F(SweepTest, EveryCallPositionFailing)
{
    const struct {
        const char *pszFunction;
        LONG nLastCall;
    } positions[] = {
        {"ZRInitialize", 2},  {"ZRRelease", 2},      {"ZRGetDeviceID", 2}, {"ZRGetAvailableChannel", 4},
        {"ZROpenChannel", 2}, {"ZRCloseChannel", 2}, {"ZRGetStatus", 4},
    };
    const ZrapiScenario tables[] = {
        ZrapiScenario(),
        ZrapiScenario().NoChannels().Channel(PRIMARY, 0).Channel(FALLBACK, 1),
    };
    for (const ZrapiScenario &table : tables) {
        for (const auto &position : positions) {
            for (LONG call = 0; call <= position.nLastCall; ++call) {
                for (LONG value : {-4L, -13L, -1L, -7L, 0L, 5L}) {
                    Check(DefaultCase(ZrapiScenario(table).Fail(position.pszFunction, call, value)), "fail");
                    Check(DefaultCase(ZrapiScenario(table).Result(position.pszFunction, call, value)),
                          "result");
                }
            }
        }
    }
}

// Hostile printer data, each kind in a case of its own: device IDs empty, 64 KiB long, without
// "MDL:", ending in "MDL:", without their zero within the size reported, with zero bytes
// and double-byte text; replies empty, cut within the last bytes of a field, with both keys
// repeated, binary noise; channel tables empty, with lying counts and sizes, 10,000 long.
TEST_F(SweepTest, HostilePrinterData)
{
    const std::string status = "CW:011E2022242628;CD:00CS010A01CS020A0140;";
    const std::string longId = "MFG:ZR;DES:" + std::string(64 * 1024, 'x') + ";MDL:RX-9100W;";
    const std::string idWithoutZero = "MFG:ZR;MDL:RX-9100W;";
    const SweepCase cases[] = {
        DefaultCase(ZrapiScenario().DeviceId("")),
        DefaultCase(ZrapiScenario().DeviceId(longId)),
        DefaultCase(ZrapiScenario().DeviceId("MFG:ZR;CLS:PRINTER;")),
        DefaultCase(ZrapiScenario().DeviceId("MFG:ZR;MDL:")),
        DefaultCase(ZrapiScenario()
                        .DeviceId(idWithoutZero)
                        .Size("ZRGetDeviceID", 1, static_cast<LONG>(idWithoutZero.size()))),
        DefaultCase(ZrapiScenario()
                        .DeviceId(idWithoutZero)
                        .Size("ZRGetDeviceID", 1, static_cast<LONG>(idWithoutZero.size() - 1))),
        DefaultCase(ZrapiScenario().DeviceId(std::string("MFG:ZR;\0MDL:RX-9100W;", 21))),
        DefaultCase(ZrapiScenario().DeviceId(std::string("MFG:ZR;MDL:RX-9100W\0;", 21))),
        DefaultCase(ZrapiScenario().DeviceId("MFG:ZR;MDL:\x83v\x83\x8a\x83\x93\x83^;")),
        DefaultCase(ZrapiScenario().DeviceId("DES:\x83MDL:RX-9100W;")),
        DefaultCase(ZrapiScenario().Status(PRIMARY, "").Status(FALLBACK, "")),
        DefaultCase(ZrapiScenario().Status(PRIMARY, "ST:00;CW:").Status(FALLBACK, "ST:00;CW:")),
        DefaultCase(ZrapiScenario().Status(PRIMARY, status + "CW").Status(FALLBACK, status + "CD:")),
        DefaultCase(ZrapiScenario()
                        .Status(PRIMARY, "CD:00CS010A01CS020A0140;CW:011E20222426")
                        .Status(FALLBACK, "CD:00CS010A01CS020A0140;CW:011E202224262")),
        DefaultCase(ZrapiScenario()
                        .Status(PRIMARY, "CW:011E2022242628;CD:00CS010A01CS020A01")
                        .Status(FALLBACK, "CW:011E2022242628;CD:00CS010A01CS020A014")),
        DefaultCase(ZrapiScenario()
                        .Status(PRIMARY, status + "CW:01NANANANANANA;CD:00CS010A01NAVLNANA20;")
                        .Status(FALLBACK, status + status)),
        DefaultCase(ZrapiScenario()
                        .Status(PRIMARY, std::string("\xff\0CW:\x01\x80\0\xfe\x1b\x7f", 11) +
                                             Repeat(std::string("\x9a\0", 2), 40))
                        .Status(FALLBACK, Repeat("CW:CD:", 30))),
        DefaultCase(ZrapiScenario().NoChannels()),
        DefaultCase(ZrapiScenario().Result("ZRGetAvailableChannel", 2, 4)),
        DefaultCase(ZrapiScenario().Result("ZRGetAvailableChannel", 2, 0x7FFFFFFF)),
        DefaultCase(ZrapiScenario().Result("ZRGetAvailableChannel", 2, -1)),
        DefaultCase(ZrapiScenario().Size("ZRGetAvailableChannel", 2, 0x7FFFFFFF)),
        DefaultCase(ZrapiScenario().Size("ZRGetStatus", 1, 0x7FFFFFFF)),
        DefaultCase(ZrapiScenario().Size("ZRGetStatus", 1, -1)),
        DefaultCase(ZrapiScenario().Size("ZRGetStatus", 2, 4096)),
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
        Check(cases[i], "case " + std::to_string(i));

    // 10,000 entries before the usable ones.
    ZrapiScenario many = ZrapiScenario().NoChannels();
    for (DWORD key = 0; key < 10000; ++key)
        many.Channel(0x20000000 + key, 1);
    many.Channel(PRIMARY, 1).Channel(FALLBACK, 1);
    Check(DefaultCase(many), "10,000 channels");
}

TEST_F(SweepTest, HostileCallers)
{
    SweepCase c = DefaultCase(ZrapiScenario());
    for (const char *pszModel : {"RX-9100W", "RX-7100W"}) {
        c.scenario = ZrapiScenario().DeviceId(std::string("MFG:ZR;MDL:") + pszModel + ";");
        c.strCallerModel = pszModel;
        c.bNullInput = true;
        Check(c, std::string("null input, ") + pszModel);
        c.bNullInput = false;
        std::fill_n(reinterpret_cast<LONG *>(&c.input), 12, -1);
        Check(c, std::string("every field -1, ") + pszModel);
        for (DWORD count : {0ul, 7ul, 0xFFFFFFFFul}) {
            c.input = CallerRecord();
            c.input.nPrinterIdCount = count;
            Check(c, "printer-ID count " + std::to_string(count));
        }
    }

    c = DefaultCase(ZrapiScenario());
    c.bNullModel = true;
    Check(c, "null model name");
    c = DefaultCase(ZrapiScenario());
    c.strCallerModel = std::string(4096, 'W');
    Check(c, "4 KiB model name");
    c.scenario = ZrapiScenario().DeviceId("MDL:" + c.strCallerModel + ";");
    Check(c, "4 KiB model name that the printer reports too");
    m_pszPrinter = nullptr;
    Check(DefaultCase(ZrapiScenario()), "null printer name");
    m_pszPrinter = PRINTER;

    ZrapiSession session;
    const OptionInfo in = CallerRecord();
    EXPECT_EQ(0, m_component.Call(PRINTER, "RX-9100W", &in, nullptr, FALSE, TRUE)) << "null output record";
    EXPECT_EQ(nullptr, GetModuleHandleA("ZRAPI.DLL"));
}

// Each allocation of a query-only call failing in turn, alone and with every later one, in
// the real DLL: the call ends as cleanly as any failed call (0, the record untouched, no
// message box, every start released and every channel closed) and leaves no block behind,
// and the next call, with memory again, comes to what a call always does. Once for the
// printer whose options are read, once for a different printer, whose message needs memory
// of its own.
TEST_F(SweepTest, EveryAllocationFailing)
{
    CFailingAllocator allocator(m_component.Module());
    ASSERT_GT(allocator.Patched(), 0) << "the DLL imports no allocator";
    const OptionInfo in = CallerRecord();
    for (const char *pszModel : {"RX-9100W", "RX-7100W"}) {
        SCOPED_TRACE(pszModel);
        const auto call = [&](OptionInfo &out) {
            m_catcher.m_boxes.clear();
            out = Canary();
            return m_component.Call(PRINTER, pszModel, &in, &out, FALSE, TRUE);
        };
        OptionInfo expected;
        allocator.Restart();
        const LONG expectedResult = call(expected);
        const size_t expectedBoxes = m_catcher.m_boxes.size();
        const unsigned int count = allocator.Allocations();
        ASSERT_GT(count, 0u);
        EXPECT_EQ(0, allocator.LiveBlocks());
        std::cout << count << " allocations in a call for " << pszModel << "\n";
        for (unsigned int failing : {CFailingAllocator::EVERY_LATER, 1u}) {
            for (unsigned int n = 1; n <= count; ++n) {
                SCOPED_TRACE("failing from allocation " + std::to_string(n) + " of " + std::to_string(count) +
                             (failing == 1 ? ", alone" : ", on"));
                OptionInfo out;
                {
                    ZrapiSession session;
                    allocator.Restart(n, failing);
                    EXPECT_EQ(0, call(out));
                    EXPECT_TRUE(LogShowsEverythingReleased(session.Calls()));
                }
                EXPECT_TRUE(IsCanary(out));
                EXPECT_TRUE(m_catcher.m_boxes.empty());
                EXPECT_EQ(0, allocator.LiveBlocks());
                allocator.Restart();
                EXPECT_EQ(expectedResult, call(out));
                EXPECT_TRUE(SameRecord(expected, out));
                EXPECT_EQ(expectedBoxes, m_catcher.m_boxes.size());
            }
        }
    }
}
