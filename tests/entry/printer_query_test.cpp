#include "entry/printer_query.h"

#include "support/wine_test_support.h"

#include <gtest/gtest.h>

TEST(CheckModel, EqualNamesIgnoringCaseShowNothing)
{
    MessageBoxCatcher catcher;
    EXPECT_TRUE(CheckModel("RX-9100W", "rx-9100w"));
    EXPECT_TRUE(catcher.m_boxes.empty());
}

TEST(CheckModel, DifferentPrinterShowsTheIncompatiblePrinterMessage)
{
    MessageBoxCatcher catcher;
    EXPECT_FALSE(CheckModel("RX-9100W", "RX-7100W"));
    ASSERT_EQ(1u, catcher.m_boxes.size());
    const CaughtBox &box = catcher.m_boxes[0];
    if (GetACP() == 932) {
        // "ｴﾗｰ" and the Japanese message, in Shift-JIS.
        EXPECT_EQ("\xB4\xD7\xB0", box.strCaption);
        EXPECT_EQ(0u, box.strText.find("\x88\xD9\x82\xC8\x82\xC1\x82\xBD\x83\x76\x83\x8A\x83\x93\x83\x5E"));
        EXPECT_NE(std::string::npos, box.strText.find("\r\n"));
    } else {
        EXPECT_EQ("Error", box.strCaption);
        EXPECT_EQ(
            "An incompatible printer is connected.\r\nPlease connect the correct printer and try again.",
            box.strText);
    }
    EXPECT_FALSE(box.bHasCancel);
    EXPECT_TRUE(box.bHasIcon);
    EXPECT_TRUE(box.bOtherWindowDisabled) << "the box is task-modal";
}

TEST(ChannelPlan, ChoosesTheChannelBySystemVersionCode)
{
    EXPECT_EQ(CHANNEL_PLAN_FAIL, ChannelPlanFor(0));
    EXPECT_EQ(CHANNEL_PLAN_PRIMARY, ChannelPlanFor(1));
    EXPECT_EQ(CHANNEL_PLAN_NONE, ChannelPlanFor(2));
    EXPECT_EQ(CHANNEL_PLAN_FAIL, ChannelPlanFor(3));
    EXPECT_EQ(CHANNEL_PLAN_FAIL, ChannelPlanFor(4));
    EXPECT_EQ(CHANNEL_PLAN_FALLBACK, ChannelPlanFor(5));
    EXPECT_EQ(CHANNEL_PLAN_PRIMARY, ChannelPlanFor(6));
    EXPECT_EQ(CHANNEL_PLAN_FAIL, ChannelPlanFor(-1)) << "a system without a code";
}
