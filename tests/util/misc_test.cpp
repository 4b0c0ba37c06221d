#include "util/misc.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
const BYTE KEY[] = {'C', 'W', ':'};

bool Find(const char *pszBytes, LONG nCount, LONG *pnOffset)
{
    const BYTE *pBytes = reinterpret_cast<const BYTE *>(pszBytes);
    const BYTE *pFound = nullptr;
    if (!CMisc().FindKey(pBytes, nCount, KEY, 3, &pFound))
        return false;
    *pnOffset = static_cast<LONG>(pFound - pBytes);
    return true;
}
} // namespace

TEST(FindKey, KeyMustEndBeforeTheLastByte)
{
    LONG offset = -1;
    EXPECT_FALSE(Find("CW:", 3, &offset));
    EXPECT_TRUE(Find("CW:x", 4, &offset));
    EXPECT_EQ(0, offset);
    EXPECT_FALSE(Find("xCW:", 4, &offset));
    EXPECT_TRUE(Find("xCW:CW:z", 8, &offset));
    EXPECT_EQ(1, offset);
}

TEST(FindKey, BadArgumentsFindNothingAndLeaveTheOutPointer)
{
    const BYTE *pFound = KEY;
    CMisc misc;
    EXPECT_FALSE(misc.FindKey(nullptr, 0, KEY, 3, &pFound));
    EXPECT_FALSE(misc.FindKey(reinterpret_cast<const BYTE *>("abcdef"), 6, KEY, 0, &pFound));
    EXPECT_FALSE(misc.FindKey(reinterpret_cast<const BYTE *>("abcdef"), -5, KEY, 3, &pFound));
    EXPECT_FALSE(misc.FindKey(reinterpret_cast<const BYTE *>("cw:abc"), 6, KEY, 3, &pFound));
    EXPECT_EQ(KEY, pFound);
}

TEST(HexToInt, AcceptsOneToEightDigitsOfEitherCase)
{
    CMisc misc;
    LONG value = 0;
    EXPECT_TRUE(misc.HexToInt("1E", &value));
    EXPECT_EQ(30, value);
    EXPECT_TRUE(misc.HexToInt("1d", &value));
    EXPECT_EQ(29, value);
    EXPECT_TRUE(misc.HexToInt("7", &value));
    EXPECT_EQ(7, value);
    EXPECT_TRUE(misc.HexToInt("FFFFFFFF", &value));
    EXPECT_EQ(-1, value);
}

TEST(HexToInt, RejectsAnythingElseWithoutWriting)
{
    CMisc misc;
    for (const char *pszText : {"", "123456789", "-1", "+1", " 1", "1 ", "0x1", "zz", "NA"}) {
        LONG value = 1234;
        EXPECT_FALSE(misc.HexToInt(pszText, &value)) << pszText;
        EXPECT_EQ(1234, value) << pszText;
    }
    LONG value = 0;
    EXPECT_FALSE(misc.HexToInt(nullptr, &value));
}

TEST(SystemVersion, EveryRowOfTheClassification)
{
    struct Row {
        DWORD platform, major, minor;
        LONG code;
    } rows[] = {
        {VER_PLATFORM_WIN32s, 3, 10, 0},        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 1},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2}, {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 2},
        {VER_PLATFORM_WIN32_WINDOWS, 5, 0, 2},  {VER_PLATFORM_WIN32_NT, 2, 0, 3},
        {VER_PLATFORM_WIN32_NT, 3, 10, 3},      {VER_PLATFORM_WIN32_NT, 3, 50, 4},
        {VER_PLATFORM_WIN32_NT, 3, 51, 5},      {VER_PLATFORM_WIN32_NT, 4, 0, 6},
        {VER_PLATFORM_WIN32_NT, 4, 10, 3},      {VER_PLATFORM_WIN32_NT, 5, 0, 3},
        {VER_PLATFORM_WIN32_NT, 10, 0, 3},
    };
    for (const Row &row : rows) {
        LONG code = -1;
        EXPECT_TRUE(CMisc::ClassifySystemVersion(row.platform, row.major, row.minor, &code));
        EXPECT_EQ(row.code, code) << row.platform << " " << row.major << "." << row.minor;
    }
}

TEST(SystemVersion, CombinationsWithoutACodeLeaveTheValue)
{
    LONG code = 77;
    EXPECT_FALSE(CMisc::ClassifySystemVersion(VER_PLATFORM_WIN32_WINDOWS, 3, 95, &code));
    EXPECT_FALSE(CMisc::ClassifySystemVersion(3, 4, 0, &code));
    EXPECT_EQ(77, code);
}

TEST(TabField, FieldsAreCountedFromZero)
{
    CMisc misc;
    CString text = "No Optional Paper Source installed\t0";
    EXPECT_TRUE(misc.GetTabField(text, 0));
    EXPECT_EQ("No Optional Paper Source installed", std::string(text));
    text = "a\tb\tc";
    EXPECT_TRUE(misc.GetTabField(text, 2));
    EXPECT_EQ("c", std::string(text));
    text = "no tab";
    EXPECT_FALSE(misc.GetTabField(text, 1));
    EXPECT_EQ("no tab", std::string(text));
    text.Empty();
    EXPECT_FALSE(misc.GetTabField(text, 0));
}

TEST(TabField, TrailByteThatLooksLikeATabIsNotASeparatorUnderCodePage932)
{
    if (GetACP() != 932)
        GTEST_SKIP() << "needs code page 932";
    CMisc misc;
    // "用紙カセット2\t1" in Shift-JIS: field 1 is the code.
    CString text = "\x97\x70\x8E\x86\x83\x4A\x83\x5A\x83\x62\x83\x67"
                   "2\t1";
    EXPECT_TRUE(misc.GetTabField(text, 1));
    EXPECT_EQ("1", std::string(text));
    // 0x81 0x09 is not a valid pair but a lead byte still swallows the next byte.
    text = "\x81\x09x\ty";
    EXPECT_TRUE(misc.GetTabField(text, 1));
    EXPECT_EQ("y", std::string(text));
}
