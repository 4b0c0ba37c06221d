#include "framework/string.h"

#include <gtest/gtest.h>

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
