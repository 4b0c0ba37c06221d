// CBidiLink against the virtual printer ZRAPI.DLL, judged by its results and the printer's
// call log.
#include "link/bidi_link.h"

#include "support/zrapi_scenario.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const char PRINTER[] = "Office RX";
const DWORD KEY_PRIMARY = 0x10010003;
const DWORD KEY_FALLBACK = 0x10000003;

typedef std::vector<std::string> Names;

std::string ResultBytes(const CBidiLink &link)
{
    return std::string(reinterpret_cast<const char *>(link.m_pResult),
                       static_cast<size_t>(link.m_nResultSize));
}
} // namespace

TEST(BidiLink, DefaultPrinterAnswersBothQuestionsInContractOrder)
{
    ZrapiSession session;
    {
        CBidiLink link;
        ASSERT_TRUE(link.m_bOpen);
        std::string deviceId;
        EXPECT_TRUE(link.QueryDeviceId(PRINTER, deviceId));
        EXPECT_EQ(ZrapiScenario().Parsed().m_strDeviceId, deviceId);
        EXPECT_TRUE(link.QueryStatus(PRINTER, KEY_PRIMARY));
        EXPECT_EQ(ZrapiScenario().Parsed().StatusOf(KEY_PRIMARY), ResultBytes(link));
        EXPECT_EQ(0, link.m_nError);
    }
    EXPECT_EQ(nullptr, GetModuleHandleA("ZRAPI.DLL"));
    EXPECT_EQ((Names{"load", "ZRInitialize", "ZRGetDeviceID", "ZRGetDeviceID", "ZRGetAvailableChannel",
                     "ZRGetAvailableChannel", "ZROpenChannel", "ZRGetStatus", "ZRGetStatus", "ZRCloseChannel",
                     "ZRRelease", "unload"}),
              session.Functions());
}
