#include "framework/string.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>

TEST(CString, AssignsFromItsOwnText)
{
    CString text = "printer";
    text = static_cast<LPCSTR>(text);
    EXPECT_EQ("printer", std::string(text));
    EXPECT_EQ(7, text.GetLength());
    text = static_cast<LPCSTR>(text) + 3;
    EXPECT_EQ("nter", std::string(text));
    EXPECT_EQ(4, text.GetLength());
}

// The C library's strtol in base 10 is the reference, on a system whose long has 32 bits.
TEST(DecimalToLong, ReadsAsStrtolDoes)
{
    static_assert(sizeof(long) == sizeof(LONG), "strtol gives a LONG here");
    const char *const texts[] = {
        "0",   "1",          "30",         "  7",         "-12",         "+5",          "1\t2",
        "3x",  "x3",         "",           "-",           "+",           "- 1",         "--1",
        "007", "2147483647", "2147483648", "99999999999", "-2147483648", "-2147483649", "-99999999999"};
    for (const char *pszText : texts)
        EXPECT_EQ(std::strtol(pszText, nullptr, 10), DecimalToLong(pszText)) << "\"" << pszText << "\"";
    EXPECT_EQ(LONG_MAX, DecimalToLong("2147483648"));
    EXPECT_EQ(LONG_MIN, DecimalToLong("-2147483649"));
    EXPECT_EQ(8, DecimalToLong("\t\n\v\f\r 8"));
}
