#include "model/option_info.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {
OptionInfo Filled()
{
    OptionInfo info = {};
    LONG *pFields = reinterpret_cast<LONG *>(&info);
    for (int i = 0; i < 12; ++i)
        pFields[i] = 100 + i;
    return info;
}
} // namespace

TEST(OptionInfo, NewRecordAndClearAreAllZero)
{
    const OptionInfo zeros = {};
    OptionInfo info = Filled();
    Clear(info);
    EXPECT_EQ(0, std::memcmp(&info, &zeros, sizeof(info)));
    const LONG *pFields = reinterpret_cast<const LONG *>(&zeros);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(0, pFields[i]) << "field " << i;
}

TEST(OptionInfo, CopyFromNullClearsWhateverWasThere)
{
    OptionInfo info = Filled();
    EXPECT_EQ(&info, &CopyFrom(info, nullptr));
    EXPECT_EQ(0, info.bHasPrinterId);
    EXPECT_EQ(0u, info.nPrinterIdCount);
    EXPECT_EQ(0, info.nPaperSource);
}

TEST(OptionInfo, CopyOutAndBackKeepsEveryField)
{
    const OptionInfo source = Filled();
    OptionInfo middle = {}, back = {};
    CopyFrom(middle, &source);
    CopyTo(middle, &back);
    EXPECT_EQ(0, std::memcmp(&source, &back, sizeof(source)));
    EXPECT_EQ(101u, back.nPrinterIdCount);
    EXPECT_EQ(111, back.nPaperSource);
}

TEST(OptionInfo, FieldsSitAtTheirFixedOffsets)
{
    OptionInfo info = Filled();
    const unsigned char *pBase = reinterpret_cast<const unsigned char *>(&info);
    const LONG expected[12] = {100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111};
    for (int i = 0; i < 12; ++i) {
        LONG value;
        std::memcpy(&value, pBase + 4 * i, 4);
        EXPECT_EQ(expected[i], value) << "offset " << 4 * i;
    }
    EXPECT_EQ(8, reinterpret_cast<const unsigned char *>(&info.nPrinterId[0]) - pBase);
    EXPECT_EQ(28, reinterpret_cast<const unsigned char *>(&info.nPrinterId[5]) - pBase);
    EXPECT_EQ(44, reinterpret_cast<const unsigned char *>(&info.nPaperSource) - pBase);
}
