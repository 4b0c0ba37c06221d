// Binding against the virtual printer's export-less variants: each missing function gives
// its own code, and what stays unbound is never called.
#include "framework/call_context.h"
#include "link/bidi_link.h"
#include "link/bidi_query.h"

#include "support/wine_test_support.h"
#include "support/zrapi_scenario.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const char PRINTER[] = "Office RX";
const DWORD KEY_PRIMARY = 0x10010003;

// The exports in binding order; the code of a missing one is its index + 2.
const char *const EXPORTS[] = {"ZRInitialize",  "ZRRelease",       "ZRGetDeviceID", "ZRGetAvailableChannel",
                               "ZROpenChannel", "ZRCloseChannel",  "ZRSend",        "ZRReceive",
                               "ZRGetStatus",   "ZRReceiveCancel", "ZRSetOption",   "ZRGetOption"};

class MissingExport : public ::testing::TestWithParam<int> {
protected:
    const char *Missing() const { return EXPORTS[GetParam()]; }
    LONG Code() const { return GetParam() + BIDI_ERR_NO_INITIALIZE; }
};

bool WasCalled(const ZrapiSession &session, const std::string &strFunction)
{
    for (const std::string &name : session.Functions()) {
        if (name == strFunction)
            return true;
    }
    return false;
}
} // namespace

// The program's own folder holds no ZRAPI.DLL: the links of a call load the variant that the
// call found.
TEST_P(MissingExport, GivesItsCodeAndCallsNothingUnbound)
{
    ZrapiSession session;
    const std::string folder = TestBinFolder() + "..\\zrapi_variants\\no_" + Missing();
    CCallContext call;
    ASSERT_NE(0u,
              GetFullPathNameA((folder + "\\ZRAPI.DLL").c_str(), MAX_PATH, call.m_szLibraryPath, nullptr));
    BOOL gotDeviceId = FALSE, gotStatus = FALSE;
    LONG statusError = -1;
    {
        CBidiLink link;
        ASSERT_NE(nullptr, link.m_hLibrary) << folder;
        CString deviceId = "old";
        gotDeviceId = link.QueryDeviceId(PRINTER, deviceId);
        if (Code() <= BIDI_ERR_NO_RELEASE) {
            EXPECT_EQ(Code(), link.m_nError);
            EXPECT_FALSE(link.m_bOpen);
            EXPECT_EQ("old", std::string(deviceId));
        } else {
            EXPECT_EQ(Code(), CBidiQuerySel1(link.m_hLibrary).m_nError);
        }
        gotStatus = link.QueryStatus(PRINTER, KEY_PRIMARY);
        statusError = link.m_nError;
    }

    // Only the question that needs the missing function fails, with its code.
    EXPECT_EQ(Code() >= BIDI_ERR_NO_GET_AVAILABLE_CHANNEL, gotDeviceId != FALSE);
    EXPECT_EQ(Code() >= BIDI_ERR_NO_RECEIVE_CANCEL, gotStatus != FALSE);
    EXPECT_EQ(gotStatus ? BIDI_OK : Code(), statusError);
    // No channel is opened that could not be closed; any opened one is closed.
    EXPECT_EQ(Code() >= BIDI_ERR_NO_SEND, WasCalled(session, "ZROpenChannel"));
    EXPECT_EQ(Code() >= BIDI_ERR_NO_INITIALIZE + 2, WasCalled(session, "ZRInitialize"));
    EXPECT_TRUE(session.UnloadedClean());
}

INSTANTIATE_TEST_SUITE_P(EachExport, MissingExport, ::testing::Range(0, 12),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return std::string(EXPORTS[info.param]);
                         });
