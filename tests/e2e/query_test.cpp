// The printer query of the exported call, through the real DLLs and the virtual printer,
// in one process per Windows version (OPTINFO_WINDOWS_VERSION names it).
#include "support/component.h"
#include "support/record.h"

#include "support/wine_test_support.h"
#include "support/zrapi_scenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {
const DWORD PRIMARY = 0x10010003;
const DWORD FALLBACK = 0x10000003;
const char PRINTER[] = "Office RX";

std::string Version()
{
    const char *pszVersion = std::getenv("OPTINFO_WINDOWS_VERSION");
    return pszVersion ? pszVersion : "";
}

bool AsksPrimaryFirst()
{
    return Version() == "win95" || Version() == "nt40";
}
bool AsksFallbackOnly()
{
    return Version() == "nt351";
}
bool ReadsOptions()
{
    return AsksPrimaryFirst() || AsksFallbackOnly();
}

std::string Key(DWORD dwKey)
{
    char text[16];
    wsprintfA(text, "0x%08lx", dwKey);
    return text;
}

// The channel keys the component opened, in order.
std::vector<std::string> OpenedKeys(const ZrapiSession &session)
{
    std::vector<std::string> keys;
    for (const ZrapiCall &call : session.Calls())
        if (call.strFunction == "ZROpenChannel")
            keys.push_back(call.inputs.at("key"));
    return keys;
}

size_t CountOf(const std::vector<std::string> &names, const std::string &strName)
{
    return static_cast<size_t>(std::count(names.begin(), names.end(), strName));
}

// Every start released, every opened channel closed (the printer counts what is left at
// unload), the library unloaded.
void ExpectEverythingReleased(const ZrapiSession &session)
{
    const std::vector<ZrapiCall> calls = session.Calls();
    ASSERT_FALSE(calls.empty());
    const ZrapiCall &last = calls.back();
    EXPECT_EQ("unload", last.strFunction);
    EXPECT_EQ("0", last.inputs.at("starts"));
    EXPECT_EQ("0", last.inputs.at("channels"));
    EXPECT_EQ(nullptr, GetModuleHandleA("ZRAPI.DLL"));
}

OptionInfo PrinterRecord()
{
    OptionInfo info = CallerRecord();
    const LONG ids[6] = {30, 32, 34, 36, 38, 40};
    std::copy(ids, ids + 6, info.nPrinterId);
    return info;
}

OptionInfo DifferentCallerRecord()
{
    OptionInfo info;
    info.bHasPrinterId = 0;
    info.nPrinterIdCount = 3;
    std::fill(info.nPrinterId, info.nPrinterId + 6, 44);
    info.bHasMemory = 0;
    info.nMemoryMB = 96;
    info.bHasPaperSource = 0;
    info.nPaperSource = 0;
    return info;
}

class QueryTest : public ::testing::Test {
protected:
    LONG Query(const char *pszModel, OptionInfo &out, const std::string &strLanguage = "en")
    {
        Component component(strLanguage);
        EXPECT_TRUE(component.Loaded());
        const OptionInfo in = DifferentCallerRecord();
        out = Canary();
        return component.Call(PRINTER, pszModel, &in, &out, FALSE, TRUE);
    }
};
} // namespace

TEST_F(QueryTest, DefaultPrinterAnswersWithItsOptions)
{
    ZrapiSession session;
    OptionInfo out;
    LONG result = Query("RX-9100W", out);
    if (ReadsOptions()) {
        EXPECT_EQ(1, result);
        EXPECT_TRUE(SameRecord(PrinterRecord(), out));
        EXPECT_EQ(std::vector<std::string>{Key(AsksFallbackOnly() ? FALLBACK : PRIMARY)},
                  OpenedKeys(session));
    } else {
        EXPECT_EQ(0, result);
        EXPECT_TRUE(IsCanary(out));
        EXPECT_TRUE(OpenedKeys(session).empty()) << "no channel is asked on " << Version();
    }
    ExpectEverythingReleased(session);
}

TEST_F(QueryTest, SecondStartComesBeforeTheFirstRelease)
{
    if (!ReadsOptions())
        GTEST_SKIP() << "no option read on " << Version();
    ZrapiSession session;
    OptionInfo out;
    ASSERT_EQ(1, Query("RX-9100W", out));
    std::vector<std::string> names = session.Functions();
    auto firstRelease = std::find(names.begin(), names.end(), "ZRRelease");
    EXPECT_EQ(2, std::count(names.begin(), firstRelease, "ZRInitialize"));
    EXPECT_EQ(2u, CountOf(names, "ZRRelease"));
    EXPECT_EQ(1u, CountOf(names, "load")) << "the nested load shares the first one";
}

TEST_F(QueryTest, FallsBackToTheSecondChannelOnlyWhenTheFirstIsUnavailable)
{
    if (!AsksPrimaryFirst())
        GTEST_SKIP() << "one channel only on " << Version();
    struct Case {
        const char *pszName;
        ZrapiScenario scenario;
        LONG nResult;
        std::vector<std::string> keys;
    } cases[] = {
        {"primary missing", ZrapiScenario().NoChannels().Channel(FALLBACK, 1), 1, {Key(FALLBACK)}},
        {"primary not available",
         ZrapiScenario().NoChannels().Channel(PRIMARY, 0).Channel(PRIMARY, 1).Channel(FALLBACK, 1),
         1,
         {Key(FALLBACK)}},
        {"primary open fails", ZrapiScenario().Fail("ZROpenChannel", 1, -3), 0, {Key(PRIMARY)}},
        {"primary status fails", ZrapiScenario().Fail("ZRGetStatus", 2, -9), 0, {Key(PRIMARY)}},
        {"both unavailable", ZrapiScenario().NoChannels().Channel(FALLBACK, 2), 0, {}},
    };
    for (const Case &c : cases) {
        ZrapiSession session(c.scenario);
        OptionInfo out;
        EXPECT_EQ(c.nResult, Query("RX-9100W", out)) << c.pszName;
        EXPECT_EQ(c.nResult == 0, IsCanary(out)) << c.pszName;
        EXPECT_EQ(c.keys, OpenedKeys(session)) << c.pszName;
        ExpectEverythingReleased(session);
    }
}

TEST_F(QueryTest, FailedReadsReturnZeroAndLeaveTheRecord)
{
    struct Case {
        const char *pszName;
        ZrapiScenario scenario;
    } cases[] = {
        {"device ID read fails", ZrapiScenario().Fail("ZRGetDeviceID", 1, -8)},
        {"no model in the device ID", ZrapiScenario().DeviceId("MFG:ZR;CLS:PRINTER;")},
        {"model not terminated", ZrapiScenario().DeviceId("MFG:ZR;MDL:RX-9100W")},
        {"start refused", ZrapiScenario().Fail("ZRInitialize", 0, -13)},
        {"reply without CD:",
         ZrapiScenario().Status(PRIMARY, "CW:011E2022242628;").Status(FALLBACK, "CW:011E2022242628;")},
        {"cut-short reply", ZrapiScenario()
                                .Status(PRIMARY, "CW:011E2022242628;CD:00CS010A01CS020A014")
                                .Status(FALLBACK, "CW:011E2022242628;CD:00CS010A01CS020A014")},
    };
    for (const Case &c : cases) {
        ZrapiSession session(c.scenario);
        OptionInfo out;
        EXPECT_EQ(0, Query("RX-9100W", out)) << c.pszName;
        EXPECT_TRUE(IsCanary(out)) << c.pszName;
        ExpectEverythingReleased(session);
    }
}

TEST_F(QueryTest, Rx7100WReadsThePrinterIdOnly)
{
    if (!ReadsOptions())
        GTEST_SKIP() << "no option read on " << Version();
    ZrapiSession session(ZrapiScenario().DeviceId("MFG:ZR;MDL:RX-7100W;"));
    OptionInfo out;
    ASSERT_EQ(1, Query("rx-7100w", out));
    OptionInfo expected = DifferentCallerRecord();
    expected.bHasPrinterId = 1;
    expected.nPrinterIdCount = 6;
    const LONG ids[6] = {30, 32, 34, 36, 38, 40};
    std::copy(ids, ids + 6, expected.nPrinterId);
    EXPECT_TRUE(SameRecord(expected, out)) << "memory and paper source keep the caller's values, flags 0";
}

TEST_F(QueryTest, AnotherPrinterIsReportedToTheUser)
{
    if (Version() != "nt40")
        GTEST_SKIP() << "the message does not depend on the version";
    // Japanese text is only readable in code page 932: that process checks the Japanese DLL.
    const bool japanese = GetACP() == 932;
    ZrapiSession session(ZrapiScenario().DeviceId("MFG:ZR;MDL:RX-7100W;"));
    MessageBoxCatcher catcher;
    OptionInfo out;
    EXPECT_EQ(0, Query("RX-9100W", out, japanese ? "ja" : "en"));
    EXPECT_TRUE(IsCanary(out));
    ASSERT_EQ(1u, catcher.m_boxes.size());
    const CaughtBox &box = catcher.m_boxes[0];
    EXPECT_FALSE(box.bHasCancel);
    if (japanese) {
        EXPECT_EQ("\xB4\xD7\xB0", box.strCaption);
        EXPECT_EQ(0u, box.strText.find("\x88\xD9\x82\xC8\x82\xC1\x82\xBD"));
    } else {
        EXPECT_EQ("Error", box.strCaption);
        EXPECT_EQ(
            "An incompatible printer is connected.\r\nPlease connect the correct printer and try again.",
            box.strText);
    }
    EXPECT_TRUE(OpenedKeys(session).empty()) << "no option read after a wrong model";
}

TEST_F(QueryTest, UnsupportedModelReadFromThePrinterFailsSilently)
{
    ZrapiSession session(ZrapiScenario().DeviceId("MFG:ZR;MDL:RX-5000;"));
    MessageBoxCatcher catcher;
    OptionInfo out;
    EXPECT_EQ(0, Query("RX-5000", out));
    EXPECT_TRUE(IsCanary(out));
    EXPECT_TRUE(catcher.m_boxes.empty());
    EXPECT_TRUE(OpenedKeys(session).empty());
    ExpectEverythingReleased(session);
}
