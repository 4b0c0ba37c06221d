// CBidiQuery on its own against the virtual printer: buffers, channel state and the calls
// each operation makes. A CBidiLink loads and starts the library for it.
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

int Count(const ZrapiSession &session, const std::string &strFunction)
{
    int count = 0;
    for (const std::string &name : session.Functions())
        count += name == strFunction ? 1 : 0;
    return count;
}
} // namespace

TEST(BidiQuery, FailedDeviceIdProbeAllocatesNothingAndLeavesTheTextEmpty)
{
    ZrapiSession session(ZrapiScenario().Fail("ZRGetDeviceID", 1, FAILURE));
    {
        CBidiLink link;
        CBidiQuerySel1 query(link.m_hLibrary);
        EXPECT_EQ(FAILURE, query.GetDeviceId(PRINTER));
        EXPECT_EQ(BIDI_ERR_GET_DEVICE_ID, query.m_nError);
        EXPECT_TRUE(query.m_strDeviceId.IsEmpty());
    }
    EXPECT_EQ(1, Count(session, "ZRGetDeviceID"));
}

TEST(BidiQuery, ChannelTableKeepsTheLibrarysCountButWalksOnlyTheBlock)
{
    ZrapiSession session(ZrapiScenario().NoChannels().Result("ZRGetAvailableChannel", 4, 1000));
    CBidiLink link;
    CBidiQuerySel1 query(link.m_hLibrary);
    EXPECT_EQ(0, query.GetAvailableChannels(PRINTER));
    EXPECT_NE(nullptr, query.m_pChannels); // an empty block, not none
    EXPECT_EQ(0, query.m_nChannels);
    EXPECT_EQ(0, query.ChannelsInBlock());

    EXPECT_EQ(1000, query.GetAvailableChannels(PRINTER)); // the second read: 0 entries, said to be 1000
    EXPECT_EQ(1000, query.m_nChannels);
    EXPECT_EQ(0, query.ChannelsInBlock());
}

TEST(BidiQuery, StatusReadFailingOnItsSecondCallFreesTheOldBlock)
{
    ZrapiSession session(ZrapiScenario().Fail("ZRGetStatus", 4, FAILURE));
    CBidiLink link;
    CBidiQuerySel1 query(link.m_hLibrary);
    ASSERT_LE(0, query.OpenChannel(PRINTER, KEY_PRIMARY));
    ASSERT_EQ(0, query.GetStatus());
    EXPECT_EQ(ZrapiScenario().Parsed().StatusOf(KEY_PRIMARY),
              std::string(reinterpret_cast<const char *>(query.m_pStatus), query.m_nStatusSize));

    EXPECT_EQ(FAILURE, query.GetStatus());
    EXPECT_EQ(BIDI_ERR_GET_STATUS, query.m_nError);
    EXPECT_EQ(nullptr, query.m_pStatus);
    EXPECT_EQ(0, query.m_nStatusSize);
}

TEST(BidiQuery, CloseWithoutAnOpenChannelCallsNothing)
{
    ZrapiSession session;
    {
        CBidiLink link;
        CBidiQuerySel1 query(link.m_hLibrary);
        EXPECT_EQ(0, query.CloseChannel());
        EXPECT_EQ(BIDI_OK, query.m_nError);
    }
    EXPECT_EQ(0, Count(session, "ZRCloseChannel"));
}

TEST(BidiQuery, OpeningOverAnOpenChannelWhoseCloseFailsOpensNothing)
{
    ZrapiSession session(ZrapiScenario().Fail("ZRCloseChannel", 1, FAILURE));
    {
        CBidiLink link;
        CBidiQuerySel1 query(link.m_hLibrary);
        ASSERT_EQ(0, query.OpenChannel(PRINTER, KEY_PRIMARY)); // handles count from 0
        EXPECT_EQ(0, query.m_nChannel);
        EXPECT_EQ(FAILURE, query.OpenChannel(PRINTER, KEY_FALLBACK));
        EXPECT_EQ(BIDI_ERR_CLOSE_CHANNEL, query.m_nError);
        EXPECT_EQ(-1, query.m_nChannel);
    }
    EXPECT_EQ(1, Count(session, "ZROpenChannel"));
    EXPECT_EQ(1, Count(session, "ZRCloseChannel")); // the handle was dropped, not closed again
}

TEST(BidiQuery, DestructionClosesAChannelLeftOpenBeforeTheRelease)
{
    ZrapiSession session(ZrapiScenario().Fail("ZRGetStatus", 2, FAILURE));
    {
        CBidiLink link;
        CBidiQuerySel0 query(link.m_hLibrary);
        ASSERT_LE(0, query.OpenChannel(PRINTER, KEY_FALLBACK));
        EXPECT_EQ(FAILURE, query.GetStatus());
    }
    std::vector<std::string> names = session.Functions();
    ASSERT_LE(3u, names.size());
    EXPECT_EQ("ZRCloseChannel", names[names.size() - 3]);
    EXPECT_EQ("ZRRelease", names[names.size() - 2]);
    EXPECT_TRUE(session.UnloadedClean());
}
