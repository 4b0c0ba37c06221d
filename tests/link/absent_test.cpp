// Runs from a folder without ZRAPI.DLL, so that the link's search finds nothing.
#include "link/bidi_link.h"
#include "link/library_search.h"

#include "support/wine_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// PATH as systems hold it: quoted, with empty, overlong and relative entries, slashes and
// trailing backslashes. Only absolute folders count, and the file found is named with
// backslashes, as the loader wants it.
TEST(BidiLibrarySearch, TakesAbsolutePathEntriesInAnyNotationAndNothingElse)
{
    char bin[MAX_PATH] = {};
    ASSERT_NE(0u, GetFullPathNameA((TestBinFolder() + "..").c_str(), MAX_PATH, bin, nullptr));
    const std::string folder = bin; // holds the virtual printer
    std::string slashed = folder;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const std::string overlong = folder + "\\" + std::string(MAX_PATH, 'x');
    const struct {
        std::string strPath;
        bool bFound;
    } cases[] = {
        {folder, true},
        {folder + "\\", true},
        {"\"" + folder + "\"", true},
        {"\"" + folder.substr(0, 3) + "\"" + folder.substr(3), true},
        {slashed + "/", true},
        {";;\"\";" + overlong + ";" + folder, true},
        {overlong, false},
        {";\";" + folder, false}, // an open quote holds the rest of PATH
        {".;..;bin;" + folder.substr(2), false},
        {std::string(32000, ';') + folder, true}, // near the longest PATH that a program can set
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.strPath.substr(0, 400));
        ScopedVariable path("PATH", c.strPath);
        char found[MAX_PATH] = {};
        EXPECT_EQ(c.bFound, FindBidiLibrary(found) != FALSE) << found;
        if (c.bFound) {
            EXPECT_EQ(folder + "\\ZRAPI.DLL", std::string(found));
        }
    }
}
