// Runs from a folder without ZRAPI.DLL, so that the link's load by bare name finds nothing.
#include "link/bidi_link.h"

#include <gtest/gtest.h>

#include <string>

TEST(BidiLinkAbsent, MissingLibraryGivesCode1AndEveryQuestionKeepsIt)
{
    char found[MAX_PATH] = {};
    LPSTR pFilePart = nullptr;
    ASSERT_EQ(0u, SearchPathA(nullptr, ZRAPI_FILE_NAME, nullptr, MAX_PATH, found, &pFilePart)) << found;

    CBidiLink link;
    EXPECT_EQ(BIDI_ERR_LOAD, link.m_nError);
    EXPECT_EQ(nullptr, link.m_hLibrary);
    EXPECT_FALSE(link.m_bOpen);
    CString text = "old";
    EXPECT_FALSE(link.QueryDeviceId("Office RX", text));
    EXPECT_EQ("old", std::string(text));
    EXPECT_FALSE(link.QueryStatus("Office RX", 0x10010003));
    EXPECT_EQ(BIDI_ERR_LOAD, link.m_nError);
    EXPECT_EQ(0, link.m_nLibResult);
    EXPECT_EQ(nullptr, link.m_pResult);
}
