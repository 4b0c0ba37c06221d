#include "entry/printer_query.h"
#include "model/printer_data.h"

#include "support/wine_test_support.h"

#include <gtest/gtest.h>

namespace {
struct ModelCase {
    const char *pszDeviceId;
    bool bFound;
    const char *pszModel;
};

// Shift-JIS "ＭＤＬ" would be 82 6C 82 63 82 6B; here the trail byte of a double-byte
// character is 'M' (0x82 0x4D is not valid SJIS, but 0x83 0x4D is "ム").
const char KATAKANA_MU_THEN_DL[] = "CMD:\x83"
                                   "MDL:X;MDL:RX-9100W;";
} // namespace

TEST(ExtractModel, TakesTheValueOfTheFirstMdlPair)
{
    const ModelCase cases[] = {
        {"MFG:Maker;CMD:ESC;MDL:RX-9100W;CLS:PRINTER;", true, "RX-9100W"},
        {"MDL:RX-7100W;", true, "RX-7100W"},
        {"MDL:;CLS:PRINTER;", true, ""},
        {"MFG:Maker;MDL:RX-9100W", false, ""},
        {"MFG:Maker;MDL:RX-9100WCLS:PRINTER;", true, "RX-9100WCLS:PRINTER"},
        {"MFG:Maker;mdl:RX-9100W;", false, ""},
        {"MDL", false, ""},
        {"", false, ""},
        {"MDL:", false, ""},
        {"MDL:A;MDL:B;", true, "A"},
    };
    for (const ModelCase &c : cases) {
        CString model = "previous";
        EXPECT_EQ(c.bFound ? TRUE : FALSE, ExtractModel(c.pszDeviceId, model)) << c.pszDeviceId;
        EXPECT_EQ(c.pszModel, std::string(model)) << c.pszDeviceId;
    }
}

TEST(ExtractModel, NoMatchStartsInsideADoubleByteCharacter)
{
    if (GetACP() != 932)
        GTEST_SKIP() << "needs code page 932";
    CString model;
    ASSERT_TRUE(ExtractModel(KATAKANA_MU_THEN_DL, model));
    EXPECT_EQ("RX-9100W", std::string(model)) << "the M after the lead byte 0x83 belongs to a character";
    // A ';' that is a trail byte does not end the model: 0x83 0x3B is one character.
    ASSERT_TRUE(ExtractModel("MDL:RX\x83;9100W;", model));
    EXPECT_EQ("RX\x83;9100W", std::string(model));
}

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
