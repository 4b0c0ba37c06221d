#include "util/error.h"

#include "support/wine_test_support.h"

#include <gtest/gtest.h>

namespace {
const UINT STOP_STYLE = MB_ICONHAND | MB_SETFOREGROUND;

bool Japanese()
{
    return GetACP() == 932;
}

std::string Caption()
{
    return Japanese() ? "\xB4\xD7\xB0" : "Error";
}
} // namespace

TEST(CError, RangeMessageTakesItsNumbersFromTheParameterStrings)
{
    MessageBoxCatcher catcher;
    CError error(50000, 51000);
    EXPECT_EQ(IDOK, error.ShowError(100, 0, 1, nullptr, nullptr, Caption().c_str(), STOP_STYLE));
    ASSERT_EQ(1u, catcher.m_boxes.size());
    const CaughtBox &box = catcher.m_boxes[0];
    EXPECT_EQ(Caption(), box.strCaption);
    if (Japanese()) {
        // "プリンタＩＤは30から70の範囲の偶数値を指定してください。"
        EXPECT_EQ("\x83\x76\x83\x8A\x83\x93\x83\x5E\x82\x68\x82\x63\x82\xCD"
                  "30\x82\xA9\x82\xE7"
                  "70\x82\xCC\x94\xCD\x88\xCD\x82\xCC\x8B\xF4\x90\x94\x92\x6C\x82\xF0\x8E\x77\x92\xE8"
                  "\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81\x42",
                  box.strText);
    } else {
        EXPECT_EQ("The Printer ID must be an even number value within the range of  30 to 70.", box.strText);
    }
    EXPECT_FALSE(box.bHasCancel);
    EXPECT_TRUE(box.bHasIcon);
    EXPECT_TRUE(box.bOtherWindowDisabled) << "task-modal is always added";
}

TEST(CError, MissingMessageShowsTheFixedTextBetweenTheSurroundingTexts)
{
    MessageBoxCatcher catcher;
    CError error(50000, 51000);
    error.ShowError(7, -1, -1, "before:", ":after", "Caption", MB_OK);
    ASSERT_EQ(1u, catcher.m_boxes.size());
    const std::string &text = catcher.m_boxes[0].strText;
    ASSERT_GT(text.size(), std::string("before::after").size());
    EXPECT_EQ(0u, text.find("before:"));
    EXPECT_EQ(text.size() - 6, text.rfind(":after"));
    if (Japanese()) {
        // Starts with "未定義のエラー!" in Shift-JIS.
        EXPECT_EQ(7u, text.find("\x96\xA2\x92\xE8\x8B\x60\x82\xCC\x83\x47\x83\x89\x81\x5B!"));
    }
    EXPECT_EQ("Caption", catcher.m_boxes[0].strCaption);
    EXPECT_FALSE(catcher.m_boxes[0].bHasIcon) << "the caller's style decides the icon";
}

TEST(CError, NegativeMessageIndexShowsNothing)
{
    MessageBoxCatcher catcher;
    EXPECT_EQ(IDCANCEL, CError(50000, 51000).ShowError(-1, 0, 1, "x", "y", "z", MB_OK));
    EXPECT_TRUE(catcher.m_boxes.empty());
}

TEST(CError, MissingParameterLeavesItsPlaceholderEmpty)
{
    // Parameter base 52000 has no strings: both numbers vanish from the range message.
    const std::string composed(CError(50000, 52000).ComposeMessage(100, 0, 1));
    EXPECT_EQ(Japanese() ? std::string::npos : 0u,
              composed.find("The Printer ID must be an even number value within the range of   to ."));
    EXPECT_EQ(std::string::npos, composed.find('%'));
    EXPECT_EQ(std::string::npos, composed.find("30"));
}

TEST(CError, WithoutCaptionTheFrameworkBoxIsUsed)
{
    MessageBoxCatcher catcher;
    CError(50000, 51000).ShowError(0, -1, -1, nullptr, nullptr, nullptr, MB_OK);
    ASSERT_EQ(1u, catcher.m_boxes.size());
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string name = module;
    name = name.substr(name.find_last_of("\\/") + 1);
    name = name.substr(0, name.find_last_of('.'));
    EXPECT_EQ(name, catcher.m_boxes[0].strCaption) << "the framework captions with the module name";
}

// A result that is one of the parameters is read before it is replaced.
TEST(CError, FormattingIntoAParameterKeepsItsText)
{
    CString text = "30";
    AfxFormatString2(text, 50100, text, "70");
    EXPECT_NE(std::string::npos, std::string(text).find("30"));
}
