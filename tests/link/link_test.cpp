// CBidiLink against the virtual printer ZRAPI.DLL, judged by its results and the printer's
// call log.
#include "link/bidi_link.h"
#include "link/bidi_query.h"

#include "support/zrapi_scenario.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const char PRINTER[] = "Office RX";
const DWORD KEY_PRIMARY = 0x10010003;
const DWORD KEY_FALLBACK = 0x10000003;
const LONG FAILURE = -9;
const char OLD_TEXT[] = "old";

typedef std::vector<std::string> Names;

// A question's calls as the log shows them, inside one load and start.
Names Started(const Names &calls)
{
    Names names = {"load", "ZRInitialize"};
    names.insert(names.end(), calls.begin(), calls.end());
    names.insert(names.end(), {"ZRRelease", "unload"});
    return names;
}

const Names DEVICE_ID_READ = {"ZRGetDeviceID", "ZRGetDeviceID"};
const Names STATUS_READ = {"ZRGetAvailableChannel", "ZRGetAvailableChannel", "ZROpenChannel",
                           "ZRGetStatus",           "ZRGetStatus",           "ZRCloseChannel"};

std::string ResultBytes(const CBidiLink &link)
{
    return link.m_pResult ? std::string(reinterpret_cast<const char *>(link.m_pResult), link.m_nResultSize)
                          : std::string();
}

// What one question on a fresh link left behind.
struct Outcome {
    BOOL bResult = FALSE;
    LONG nError = -1;
    LONG nLibResult = -1;
    std::string strBytes; // device ID text, or the link's result bytes
    Names calls;
};

Outcome AskDeviceId(const ZrapiScenario &scenario)
{
    ZrapiSession session(scenario);
    Outcome outcome;
    {
        CBidiLink link;
        CString deviceId = OLD_TEXT;
        outcome.bResult = link.QueryDeviceId(PRINTER, deviceId);
        outcome.strBytes = std::string(deviceId);
        outcome.nError = link.m_nError;
        outcome.nLibResult = link.m_nLibResult;
    }
    outcome.calls = session.Functions();
    EXPECT_TRUE(session.UnloadedClean());
    return outcome;
}

Outcome AskStatus(const ZrapiScenario &scenario, DWORD dwKey = KEY_PRIMARY)
{
    ZrapiSession session(scenario);
    Outcome outcome;
    {
        CBidiLink link;
        outcome.bResult = link.QueryStatus(PRINTER, dwKey);
        outcome.nError = link.m_nError;
        outcome.nLibResult = link.m_nLibResult;
        outcome.strBytes = ResultBytes(link);
    }
    outcome.calls = session.Functions();
    return outcome;
}

std::string DefaultStatus(DWORD dwKey = KEY_PRIMARY)
{
    return ZrapiScenario().Parsed().StatusOf(dwKey);
}
} // namespace

TEST(BidiLink, DefaultPrinterAnswersBothQuestionsInContractOrder)
{
    ZrapiSession session;
    {
        CBidiLink link;
        ASSERT_TRUE(link.m_bOpen);
        CString deviceId;
        EXPECT_TRUE(link.QueryDeviceId(PRINTER, deviceId));
        EXPECT_EQ(ZrapiScenario().Parsed().DeviceId(), std::string(deviceId));
        EXPECT_TRUE(link.QueryStatus(PRINTER, KEY_PRIMARY));
        EXPECT_EQ(DefaultStatus(), ResultBytes(link)); // binary bytes, a zero among them
        EXPECT_EQ(0, link.m_nError);
    }
    Names expected = DEVICE_ID_READ;
    expected.insert(expected.end(), STATUS_READ.begin(), STATUS_READ.end());
    EXPECT_EQ(Started(expected), session.Functions());
    std::vector<ZrapiCall> calls = session.Calls();
    EXPECT_EQ("0", calls[2].inputs["size"]); // the probe starts from 0 with a null buffer
    EXPECT_EQ("null", calls[2].inputs["buffer"]);
    EXPECT_EQ("1", calls[2].inputs["selector"]);
    EXPECT_EQ(PRINTER, calls[2].inputs["printer"]);
    EXPECT_EQ(calls[2].outputs["size"], calls[3].inputs["size"]);
    EXPECT_EQ("0x10010003", calls[6].inputs["key"]);
    EXPECT_TRUE(session.UnloadedClean());
}

TEST(BidiLink, Sel0QuestionsPassSelectorZero)
{
    ZrapiSession session;
    {
        CBidiLink link;
        CString deviceId;
        EXPECT_TRUE(link.QueryDeviceIdSel0(PRINTER, deviceId));
        EXPECT_TRUE(link.QueryStatusSel0(PRINTER, KEY_FALLBACK));
        EXPECT_EQ(DefaultStatus(KEY_FALLBACK), ResultBytes(link));
    }
    int selectorZero = 0;
    for (const ZrapiCall &call : session.Calls())
        selectorZero += call.inputs.count("selector") && call.inputs.at("selector") == "0" ? 1 : 0;
    EXPECT_EQ(5, selectorZero); // two device ID calls, two table calls, the open
    EXPECT_TRUE(session.UnloadedClean());
}

TEST(BidiLink, StartRefusedWithMinus13AnswersNothingAndIsNeverReleased)
{
    ZrapiSession session(ZrapiScenario().Fail("ZRInitialize", 1, ZR_NOT_STARTED));
    {
        CBidiLink link;
        EXPECT_FALSE(link.m_bOpen);
        CString text = OLD_TEXT;
        EXPECT_FALSE(link.QueryDeviceId(PRINTER, text));
        EXPECT_EQ(OLD_TEXT, std::string(text));
        EXPECT_FALSE(link.QueryStatus(PRINTER, KEY_PRIMARY));
        EXPECT_EQ(0, link.m_nError);
        EXPECT_EQ(nullptr, link.m_pResult);
    }
    EXPECT_EQ((Names{"load", "ZRInitialize", "unload"}), session.Functions());
    EXPECT_TRUE(session.UnloadedClean());
}

TEST(BidiLink, StartFailingWithAnotherValueRunsQuestionsAndIsReleased)
{
    Outcome outcome = AskDeviceId(ZrapiScenario().Fail("ZRInitialize", 1, -7));
    EXPECT_TRUE(outcome.bResult);
    EXPECT_EQ(Started(DEVICE_ID_READ), outcome.calls);
}

TEST(BidiLink, NestedLinkStartsBeforeTheOuterRelease)
{
    ZrapiSession session;
    {
        CBidiLink outer;
        CString deviceId;
        EXPECT_TRUE(outer.QueryDeviceId(PRINTER, deviceId));
        {
            CBidiLink inner;
            EXPECT_TRUE(inner.QueryStatus(PRINTER, KEY_PRIMARY));
            EXPECT_EQ(DefaultStatus(), ResultBytes(inner));
        }
        EXPECT_NE(nullptr, GetModuleHandleA("ZRAPI.DLL")); // the outer load still holds it
        EXPECT_TRUE(outer.QueryStatus(PRINTER, KEY_FALLBACK));
    }
    Names expected = DEVICE_ID_READ;
    expected.push_back("ZRInitialize");
    expected.insert(expected.end(), STATUS_READ.begin(), STATUS_READ.end());
    expected.push_back("ZRRelease");
    expected.insert(expected.end(), STATUS_READ.begin(), STATUS_READ.end());
    EXPECT_EQ(Started(expected), session.Functions());
    EXPECT_TRUE(session.UnloadedClean());
}

// Each library call failing in turn: its code, its result, and no call after it but the
// close that an opened channel is owed, before the release.
TEST(BidiLinkFailure, EachFailingCallGivesItsCodeAndStopsTheQuestion)
{
    struct Case {
        const char *pszFunction;
        LONG nCall;
        bool bDeviceId;
        LONG nCode;
        Names calls;
    };
    const Case cases[] = {
        {"ZRGetDeviceID", 1, true, BIDI_ERR_GET_DEVICE_ID, {"ZRGetDeviceID"}},
        {"ZRGetDeviceID", 2, true, BIDI_ERR_GET_DEVICE_ID, DEVICE_ID_READ},
        {"ZRGetAvailableChannel", 1, false, BIDI_ERR_GET_AVAILABLE_CHANNEL, {"ZRGetAvailableChannel"}},
        {"ZRGetAvailableChannel",
         2,
         false,
         BIDI_ERR_GET_AVAILABLE_CHANNEL,
         {"ZRGetAvailableChannel", "ZRGetAvailableChannel"}},
        {"ZROpenChannel",
         1,
         false,
         BIDI_ERR_OPEN_CHANNEL,
         {"ZRGetAvailableChannel", "ZRGetAvailableChannel", "ZROpenChannel"}},
        {"ZRGetStatus",
         1,
         false,
         BIDI_ERR_GET_STATUS,
         {"ZRGetAvailableChannel", "ZRGetAvailableChannel", "ZROpenChannel", "ZRGetStatus",
          "ZRCloseChannel"}},
        {"ZRGetStatus", 2, false, BIDI_ERR_GET_STATUS, STATUS_READ},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.pszFunction) + " call " + std::to_string(c.nCall));
        ZrapiScenario scenario = ZrapiScenario().Fail(c.pszFunction, c.nCall, FAILURE);
        Outcome outcome = c.bDeviceId ? AskDeviceId(scenario) : AskStatus(scenario);
        EXPECT_FALSE(outcome.bResult);
        EXPECT_EQ(c.nCode, outcome.nError);
        EXPECT_EQ(FAILURE, outcome.nLibResult);
        EXPECT_EQ("", outcome.strBytes); // a failed device ID read empties the caller's text
        EXPECT_EQ(Started(c.calls), outcome.calls);
    }
}

TEST(BidiLinkFailure, FailingCloseAfterTheReadKeepsTheNewBytes)
{
    Outcome outcome = AskStatus(ZrapiScenario().Fail("ZRCloseChannel", 1, FAILURE));
    EXPECT_FALSE(outcome.bResult);
    EXPECT_EQ(BIDI_ERR_CLOSE_CHANNEL, outcome.nError);
    EXPECT_EQ(FAILURE, outcome.nLibResult);
    EXPECT_EQ(DefaultStatus(), outcome.strBytes);
    EXPECT_EQ(Started(STATUS_READ), outcome.calls);
}

TEST(BidiLinkChannels, FirstEntryWithTheKeyDecidesAndAFailureKeepsTheOldResult)
{
    ZrapiScenario scenario = ZrapiScenario()
                                 .NoChannels()
                                 .Channel(KEY_PRIMARY, 0x0002) // other bits set, bit 0 clear
                                 .Channel(KEY_PRIMARY, 0x0001)
                                 .Channel(KEY_FALLBACK, 0x0001)
                                 .Channel(KEY_FALLBACK, 0x0000)
                                 .Fail("ZRGetStatus", 4, FAILURE);
    ZrapiSession session(scenario);
    {
        CBidiLink link;
        ASSERT_TRUE(link.QueryStatus(PRINTER, KEY_FALLBACK));
        const std::string fallback = DefaultStatus(KEY_FALLBACK);
        EXPECT_EQ(fallback, ResultBytes(link));

        EXPECT_FALSE(link.QueryStatus(PRINTER, KEY_PRIMARY));
        EXPECT_EQ(BIDI_ERR_CHANNEL_UNAVAILABLE, link.m_nError);
        EXPECT_EQ(0, link.m_nLibResult);
        EXPECT_EQ(fallback, ResultBytes(link));

        EXPECT_FALSE(link.QueryStatus(PRINTER, 0x12345678));
        EXPECT_EQ(BIDI_ERR_CHANNEL_UNAVAILABLE, link.m_nError);

        EXPECT_FALSE(link.QueryStatus(PRINTER, KEY_FALLBACK)); // its second status call fails
        EXPECT_EQ(BIDI_ERR_GET_STATUS, link.m_nError);
        EXPECT_EQ(fallback, ResultBytes(link));
    }
    int opens = 0;
    for (const std::string &name : session.Functions())
        opens += name == "ZROpenChannel" ? 1 : 0;
    EXPECT_EQ(2, opens); // the unavailable keys are never opened
    EXPECT_TRUE(session.UnloadedClean());
}

TEST(BidiLinkChannels, EmptyTableOrLyingEntryCountFindsNothingOutsideTheBlock)
{
    Outcome empty = AskStatus(ZrapiScenario().NoChannels());
    EXPECT_FALSE(empty.bResult);
    EXPECT_EQ(BIDI_ERR_CHANNEL_UNAVAILABLE, empty.nError);

    // A walk beyond the 24-byte block would run through gigabytes before it stops.
    ZrapiScenario lying = ZrapiScenario().Result("ZRGetAvailableChannel", 2, 0x7FFFFFFF);
    Outcome absent = AskStatus(lying, 0x12345678);
    EXPECT_FALSE(absent.bResult);
    EXPECT_EQ(BIDI_ERR_CHANNEL_UNAVAILABLE, absent.nError);
    EXPECT_TRUE(AskStatus(lying).bResult);
}

TEST(BidiLinkSizes, StatusSizeAfterTheFillingCallIsKeptInsideTheBlock)
{
    Outcome raised = AskStatus(ZrapiScenario().Size("ZRGetStatus", 2, 4096));
    EXPECT_TRUE(raised.bResult);
    EXPECT_EQ(DefaultStatus(), raised.strBytes);

    Outcome lowered = AskStatus(ZrapiScenario().Size("ZRGetStatus", 2, 5));
    EXPECT_TRUE(lowered.bResult);
    EXPECT_EQ(DefaultStatus().substr(0, 5), lowered.strBytes);

    Outcome negative = AskStatus(ZrapiScenario().Size("ZRGetStatus", 2, -5));
    EXPECT_TRUE(negative.bResult);
    EXPECT_EQ("", negative.strBytes);
}

// The library promises that size only for the status: the device ID is a zero-terminated
// text and the channel table is counted by the result, whatever size the filling call leaves.
TEST(BidiLinkSizes, DeviceIdAndChannelTableIgnoreTheSizeTheFillingCallLeaves)
{
    for (LONG size : {0L, 3L, 9L, 4096L}) {
        SCOPED_TRACE(size);
        Outcome deviceId = AskDeviceId(ZrapiScenario().Size("ZRGetDeviceID", 2, size));
        EXPECT_TRUE(deviceId.bResult);
        EXPECT_EQ(ZrapiScenario().Parsed().DeviceId(), deviceId.strBytes);
        Outcome status = AskStatus(ZrapiScenario().Size("ZRGetAvailableChannel", 2, size));
        EXPECT_TRUE(status.bResult);
        EXPECT_EQ(DefaultStatus(), status.strBytes);
    }
}

TEST(BidiLinkSizes, DeviceIdWithoutZeroEndsAtTheReportedSize)
{
    const std::string text = "MFG:ZR;MDL:RX-9100W;CLS:PRINTER;"; // 32 bytes: no slack in the heap block
    Outcome outcome = AskDeviceId(ZrapiScenario().DeviceId(text).Size("ZRGetDeviceID", 1, text.size()));
    EXPECT_TRUE(outcome.bResult);
    EXPECT_EQ(text, outcome.strBytes);
}

TEST(BidiLinkSizes, ProbeAnsweredWithMinus4IsASizeNotAFailure)
{
    ZrapiScenario scenario = ZrapiScenario()
                                 .Result("ZRGetDeviceID", 1, ZR_SIZE_PROBED)
                                 .Result("ZRGetAvailableChannel", 1, ZR_SIZE_PROBED)
                                 .Result("ZRGetStatus", 1, ZR_SIZE_PROBED);
    Outcome deviceId = AskDeviceId(scenario);
    EXPECT_TRUE(deviceId.bResult);
    EXPECT_EQ(ZrapiScenario().Parsed().DeviceId(), deviceId.strBytes);
    Outcome status = AskStatus(scenario);
    EXPECT_TRUE(status.bResult);
    EXPECT_EQ(DefaultStatus(), status.strBytes);
}

// An absurd or negative size is not allocated: the read fails with its own code after the
// probe alone, and an opened channel is still closed.
TEST(BidiLinkSizes, AbsurdProbeSizeFailsTheRead)
{
    for (LONG size : {BIDI_MAX_READ_SIZE + 1, -1L}) {
        SCOPED_TRACE(size);
        Outcome deviceId = AskDeviceId(ZrapiScenario().Size("ZRGetDeviceID", 1, size));
        EXPECT_EQ(BIDI_ERR_GET_DEVICE_ID, deviceId.nError);
        EXPECT_EQ(Started({"ZRGetDeviceID"}), deviceId.calls);

        Outcome table = AskStatus(ZrapiScenario().Size("ZRGetAvailableChannel", 1, size));
        EXPECT_EQ(BIDI_ERR_GET_AVAILABLE_CHANNEL, table.nError);
        EXPECT_EQ(Started({"ZRGetAvailableChannel"}), table.calls);

        Outcome status = AskStatus(ZrapiScenario().Size("ZRGetStatus", 1, size));
        EXPECT_FALSE(status.bResult);
        EXPECT_EQ(BIDI_ERR_GET_STATUS, status.nError);
        EXPECT_EQ(BIDI_RESULT_SIZE_REFUSED, status.nLibResult);
        EXPECT_EQ(Started({"ZRGetAvailableChannel", "ZRGetAvailableChannel", "ZROpenChannel", "ZRGetStatus",
                           "ZRCloseChannel"}),
                  status.calls);
    }
    // The largest size still accepted is read.
    EXPECT_TRUE(AskStatus(ZrapiScenario().Size("ZRGetStatus", 1, BIDI_MAX_READ_SIZE)).bResult);
}

TEST(BidiLinkLoad, LibraryRefusingToLoadGivesCode1)
{
    ZrapiSession session(ZrapiScenario().Add("no_such_directive"));
    {
        CBidiLink link;
        EXPECT_EQ(BIDI_ERR_LOAD, link.m_nError);
        EXPECT_EQ(nullptr, link.m_hLibrary);
        CString text = OLD_TEXT;
        EXPECT_FALSE(link.QueryDeviceId(PRINTER, text));
        EXPECT_EQ(OLD_TEXT, std::string(text));
        EXPECT_EQ(BIDI_ERR_LOAD, link.m_nError);
    }
    std::vector<ZrapiCall> calls = session.Calls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_NE(std::string::npos, calls[0].inputs["error"].find("no_such_directive"));
    EXPECT_TRUE(session.UnloadedClean());
}

// The printer holds its scenario in fixed tables: a scenario at every limit loads, and one
// beyond a limit is refused with that limit named, never cut short.
TEST(BidiLinkLoad, ScenarioBeyondAPrinterLimitIsRefusedWithTheLimitNamed)
{
    // Whether the load's "error" field holds the reason; an empty reason: the load succeeds.
    auto loads = [](const ZrapiScenario &scenario,
                    const std::string &strReason) -> ::testing::AssertionResult {
        ZrapiSession session(scenario);
        CBidiLink link;
        std::vector<ZrapiCall> calls = session.Calls();
        const std::string error = calls.empty() ? "no log" : calls[0].inputs["error"];
        if (strReason.empty() ? link.m_hLibrary != nullptr : error.find(strReason) != std::string::npos)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << (link.m_hLibrary ? "loaded" : "refused: " + error);
    };
    ZrapiScenario most = ZrapiScenario().NoChannels().Remove("status");
    for (LONG i = 0; i < zrapi::MAX_CHANNELS; ++i)
        most.Channel(0x20000000 + i, 1);
    for (LONG i = 0; i < zrapi::MAX_STATUS_KEYS; ++i)
        most.Status(0x30000000 + i, "CW:");
    for (LONG i = 0; i < zrapi::MAX_FAULTS; ++i)
        most.Fail("ZRSend", 0, -5);
    EXPECT_TRUE(loads(most, ""));
    ZrapiScenario beyond = most;
    EXPECT_TRUE(loads(beyond.Channel(KEY_PRIMARY, 1), "more than 16384 channel lines"));
    beyond = most;
    EXPECT_TRUE(loads(beyond.Status(KEY_PRIMARY, "CW:"), "status lines for more than 256 channel keys"));
    beyond = most;
    EXPECT_TRUE(loads(beyond.Fail("ZRSend", 1, -5), "more than 1024 fail, result and size lines"));

    const size_t defaultLength = ZrapiScenario().Text().size();
    ZrapiScenario largest =
        ZrapiScenario().Add("#" + std::string(zrapi::MAX_SCENARIO_BYTES - defaultLength - 2, 'x'));
    ASSERT_EQ(zrapi::MAX_SCENARIO_BYTES, largest.Text().size());
    EXPECT_TRUE(loads(largest, ""));
    EXPECT_TRUE(loads(largest.Add(""), "is larger than 1048576 bytes"));
}
