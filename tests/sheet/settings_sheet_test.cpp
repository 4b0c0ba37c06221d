#include "sheet/settings_sheet.h"

#include "recording_spooler.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// The request as the printer expects it, written out byte by byte.
const BYTE REQUEST[68] = {
    0x50, 0x72, 0x69, 0x6E, 0x74, 0x65, 0x72, 0x20, 0x49, 0x44, 0x0D, 0x0A,       // "Printer ID" CR LF
    0x1B, 0x28, 0x52, 0x08, 0x00, 0x00, 0x52, 0x45, 0x4D, 0x4F, 0x54, 0x45, 0x31, // remote mode
    0x41, 0x49, 0x03, 0x00, 0x00, 0x00, 0x00,                                     // AI
    0x1B, 0x00, 0x00, 0x00,                                                       // end of remote mode
    0x0D, 0x0A, 0x53, 0x49, 0x4D, 0x4D, 0x0D, 0x0A,                               // CR LF "SIMM" CR LF
    0x1B, 0x28, 0x52, 0x08, 0x00, 0x00, 0x52, 0x45, 0x4D, 0x4F, 0x54, 0x45, 0x31, // remote mode
    0x53, 0x52, 0x02, 0x00, 0x00, 0x01,                                           // SR
    0x1B, 0x00, 0x00, 0x00,                                                       // end of remote mode
    0x0C,                                                                         // form feed
};
} // namespace

TEST(SettingsSheetRequest, IsTheSixtyEightBytesOfTheCommandStream)
{
    const SettingsSheetRequest request = ComposeSettingsSheetRequest();
    EXPECT_EQ(std::vector<BYTE>(REQUEST, REQUEST + sizeof(REQUEST)),
              std::vector<BYTE>(request.begin(), request.end()));
}

TEST(SettingsSheetRequest, ReachesTheSpoolerFramedInOneWriteAtClose)
{
    CPoseAsSystem pose(6);
    CRecordingSpooler spooler;
    EXPECT_TRUE(SendSettingsSheetRequest("Sheet Printer"));
    EXPECT_EQ("Open StartDoc StartPage Write:76 EndPage EndDoc Close", spooler.m_strCalls);
    std::vector<BYTE> expected = {0x1B, 0x40, 0x1B, 0x40};
    expected.insert(expected.end(), REQUEST, REQUEST + sizeof(REQUEST));
    expected.insert(expected.end(), {0x1B, 0x40, 0x1B, 0x40});
    EXPECT_EQ(expected, spooler.m_written);
    EXPECT_EQ("Sheet Printer", spooler.m_strPrinterName);
}
