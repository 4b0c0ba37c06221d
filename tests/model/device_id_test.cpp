#include "model/printer_data.h"

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
        EXPECT_EQ(c.bFound, ExtractModel(c.pszDeviceId, model) != FALSE) << c.pszDeviceId;
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
