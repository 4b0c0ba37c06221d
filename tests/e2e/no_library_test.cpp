// The exported call where ZRAPI.DLL cannot be found: the query is skipped without a word.
#include "component.h"

#include "support/wine_test_support.h"

#include <gtest/gtest.h>

TEST(NoLibrary, QueryIsSkippedAndTheCallersRecordComesBack)
{
    ASSERT_EQ(0u, SearchPathA(nullptr, "ZRAPI.DLL", nullptr, 0, nullptr, nullptr))
        << "the test needs no library";
    Component component;
    ASSERT_TRUE(component.Loaded());
    MessageBoxCatcher catcher;
    const OptionInfo in = CallerRecord();
    OptionInfo out = Canary();
    EXPECT_EQ(1, component.Call("RX-9100W", "RX-9100W", &in, &out, FALSE, TRUE));
    EXPECT_TRUE(SameRecord(in, out));
    out = Canary();
    EXPECT_EQ(1, component.Call("RX-9100W", "RX-7100W", nullptr, &out, FALSE, TRUE));
    EXPECT_TRUE(SameRecord(OptionInfo(), out));
    EXPECT_TRUE(catcher.m_boxes.empty());
}
