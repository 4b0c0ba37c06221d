#include "model/printer_data.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const LONG UNTOUCHED = 12345;

OptionInfo AskFor(bool bPrinterId, bool bMemory, bool bPaperSource)
{
    OptionInfo info;
    info.bHasPrinterId = bPrinterId;
    info.nPrinterIdCount = PRINTER_ID_COUNT;
    for (LONG &value : info.nPrinterId)
        value = UNTOUCHED;
    info.bHasMemory = bMemory;
    info.nMemoryMB = UNTOUCHED;
    info.bHasPaperSource = bPaperSource;
    info.nPaperSource = UNTOUCHED;
    return info;
}

BOOL Parse(const std::string &strReply, OptionInfo &info)
{
    return ParseOptionFields(reinterpret_cast<const BYTE *>(strReply.data()),
                             static_cast<LONG>(strReply.size()), info);
}

// "CD:" + 2 + group 0 (8) + group 1 (8) + memory token.
std::string CdField(const std::string &strGroup1, const std::string &strMemory)
{
    return "CD:00"
           "ABCD0102" +
           strGroup1 + strMemory;
}

const std::string CW_FIELD = "CW:001ENAzz461e32";
const std::string REPLY = "@PJL INFO;" + CW_FIELD + ";" + CdField("TRAY0101", "40") + ";END";
} // namespace

TEST(ParseOptionFields, ReadsEveryAskedFieldOfAFullReply)
{
    OptionInfo info = AskFor(true, true, true);
    ASSERT_TRUE(Parse(REPLY, info));
    const LONG expected[6] = {30, 0, 0, 70, 30, 50};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(expected[k], info.nPrinterId[k]) << "token " << k;
    EXPECT_EQ(64, info.nMemoryMB);
    EXPECT_EQ(1, info.nPaperSource);
}

TEST(ParseOptionFields, ReadsOnlyWhatTheFlagsAskFor)
{
    OptionInfo info = AskFor(true, false, false);
    ASSERT_TRUE(Parse(REPLY, info));
    EXPECT_EQ(30, info.nPrinterId[0]);
    EXPECT_EQ(UNTOUCHED, info.nMemoryMB);
    EXPECT_EQ(UNTOUCHED, info.nPaperSource);

    info = AskFor(false, true, true);
    ASSERT_TRUE(Parse(REPLY, info));
    EXPECT_EQ(UNTOUCHED, info.nPrinterId[0]);
    EXPECT_EQ(64, info.nMemoryMB);
}

TEST(ParseOptionFields, PaperSourceNeedsEveryTokenOfGroupOneAvailable)
{
    struct Case {
        const char *pszGroup1;
        LONG nPaperSource;
    } cases[] = {
        {"TRAY0101", 1}, {"NAVL0101", 0}, {"navl0101", 0}, {"TRAYNA01", 0},
        {"TRAY01na", 0}, {"TRAYnA01", 0}, {"NAV 0101", 1}, {"TRAYNB01", 1},
    };
    for (const Case &c : cases) {
        OptionInfo info = AskFor(false, false, true);
        ASSERT_TRUE(Parse(CdField(c.pszGroup1, "20") + ";", info)) << c.pszGroup1;
        EXPECT_EQ(c.nPaperSource, info.nPaperSource) << c.pszGroup1;
    }
}

TEST(ParseOptionFields, MemoryTokenIsHexadecimalMegabytes)
{
    struct Case {
        const char *pszToken;
        LONG nMemoryMB;
    } cases[] = {{"60", 96}, {"20", 32}, {"NA", 0}, {"na", 0}, {"zz", 0}, {"FF", 255}};
    for (const Case &c : cases) {
        OptionInfo info = AskFor(false, true, false);
        ASSERT_TRUE(Parse(CdField("TRAY0101", c.pszToken) + ";", info)) << c.pszToken;
        EXPECT_EQ(c.nMemoryMB, info.nMemoryMB) << c.pszToken;
    }
}

TEST(ParseOptionFields, PrinterIdWithoutCdFillsTheIdAndFails)
{
    OptionInfo info = AskFor(true, true, true);
    EXPECT_FALSE(Parse(CW_FIELD + ";", info));
    EXPECT_EQ(70, info.nPrinterId[3]);
    EXPECT_EQ(UNTOUCHED, info.nMemoryMB);
    EXPECT_EQ(UNTOUCHED, info.nPaperSource);
}

TEST(ParseOptionFields, KeysAreMatchedExactly)
{
    OptionInfo info = AskFor(true, true, true);
    EXPECT_FALSE(Parse("cw:001E1E1E1E1E1E;cd:00ABCD0102TRAY010140;", info));
    EXPECT_EQ(UNTOUCHED, info.nPrinterId[0]);
    EXPECT_EQ(UNTOUCHED, info.nMemoryMB);
}

TEST(ParseOptionFields, FieldCutShortByTheEndOfTheReplyCountsAsNotFound)
{
    // A field needs its whole length from its key; shorter replies fail without reading
    // beyond their end.
    for (size_t length = 0; length < CW_FIELD.size(); ++length) {
        OptionInfo info = AskFor(true, false, false);
        EXPECT_FALSE(Parse(CW_FIELD.substr(0, length), info)) << length;
        EXPECT_EQ(UNTOUCHED, info.nPrinterId[0]) << length;
    }
    const std::string cd = CdField("TRAY0101", "40");
    for (size_t length = 0; length < cd.size(); ++length) {
        OptionInfo info = AskFor(false, true, true);
        EXPECT_FALSE(Parse(cd.substr(0, length), info)) << length;
        EXPECT_EQ(UNTOUCHED, info.nMemoryMB) << length;
        EXPECT_EQ(UNTOUCHED, info.nPaperSource) << length;
    }
    OptionInfo info = AskFor(true, true, true);
    EXPECT_TRUE(Parse(CW_FIELD + cd, info)) << "whole fields, the last ending with the reply";
}

TEST(ParseOptionFields, KeysFoundInBinaryNoise)
{
    std::string reply("\x00\xFF\x43\x57\x00", 5);
    reply += CW_FIELD;
    reply += std::string("\x00\x01\x02", 3);
    reply += CdField("TRAY0101", "60");
    reply += std::string("\xFE\x00", 2);
    OptionInfo info = AskFor(true, true, true);
    ASSERT_TRUE(Parse(reply, info));
    EXPECT_EQ(50, info.nPrinterId[5]);
    EXPECT_EQ(96, info.nMemoryMB);
}

TEST(ParseOptionFields, EmptyReplyFailsEveryAskedSection)
{
    OptionInfo info = AskFor(true, true, true);
    EXPECT_FALSE(ParseOptionFields(nullptr, 0, info));
    EXPECT_EQ(UNTOUCHED, info.nPrinterId[0]);
    OptionInfo none = AskFor(false, false, false);
    EXPECT_TRUE(ParseOptionFields(nullptr, 0, none)) << "nothing asked, nothing missing";
}
