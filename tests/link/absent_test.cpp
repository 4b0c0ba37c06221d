// Runs from a folder without ZRAPI.DLL, so that the link's search finds nothing.
#include "link/bidi_link.h"
#include "link/library_search.h"

#include "support/wine_test_support.h"

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

// Folders as the system names them, with or without a separator at the end. A folder whose
// name ends with a double-byte character whose second byte is a backslash (code page 932)
// still needs one before the file name.
TEST(BidiLibrarySearch, JoinsAFolderNamedEitherWayWithTheFileName)
{
    ASSERT_EQ(932u, GetACP()) << "the double-byte folder's name needs code page 932";
    const std::string folder = "C:\\Program Files\\ZR";
    const std::string doubleByte = "C:\\ZR\x95\x5C"; // ends with U+8868
    const struct {
        std::string strFolder;
        std::string strPath; // empty: none
    } cases[] = {
        {folder, folder + "\\ZRAPI.DLL"},
        {folder + "\\", folder + "\\ZRAPI.DLL"},
        {"C:/Program Files/ZR/", folder + "\\ZRAPI.DLL"},
        {doubleByte, doubleByte + "\\ZRAPI.DLL"},
        {doubleByte + "\\", doubleByte + "\\ZRAPI.DLL"},
        {"C:\\" + std::string(MAX_PATH - 14, 'x'), "C:\\" + std::string(MAX_PATH - 14, 'x') + "\\ZRAPI.DLL"},
        {"C:\\" + std::string(MAX_PATH - 13, 'x'), ""},
        {"", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.strFolder.substr(0, 100));
        char path[MAX_PATH] = {};
        EXPECT_EQ(!c.strPath.empty(),
                  BidiLibraryPathIn(c.strFolder.data(), static_cast<UINT>(c.strFolder.size()), path) !=
                      FALSE);
        if (!c.strPath.empty()) {
            EXPECT_EQ(c.strPath, std::string(path));
        }
    }
}
