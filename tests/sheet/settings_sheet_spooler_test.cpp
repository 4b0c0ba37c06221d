// The settings-sheet request through Wine's own spooler, to a printer whose port is a file.
#include "sheet/settings_sheet.h"
#include "sheet/spooler.h"

#include "support/file_printer.h"

#include <gtest/gtest.h>

namespace {
// Passes every call on to the real spooler and counts the printer handles held.
class CHandleCounter {
public:
    CHandleCounter()
    {
        s_real = g_spooler;
        s_nHeld = 0;
        g_spooler.pfnOpenPrinter = CountOpen;
        g_spooler.pfnClosePrinter = CountClose;
    }
    ~CHandleCounter() { g_spooler = s_real; }
    CHandleCounter(const CHandleCounter &) = delete;
    CHandleCounter &operator=(const CHandleCounter &) = delete;

    static int Held() { return s_nHeld; }

private:
    static BOOL WINAPI CountOpen(LPSTR pszName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSA pDefault)
    {
        BOOL bOpened = s_real.pfnOpenPrinter(pszName, phPrinter, pDefault);
        s_nHeld += bOpened ? 1 : 0;
        return bOpened;
    }
    static BOOL WINAPI CountClose(HANDLE hPrinter)
    {
        BOOL bClosed = s_real.pfnClosePrinter(hPrinter);
        s_nHeld -= bClosed ? 1 : 0;
        return bClosed;
    }
    static SpoolerFunctions s_real;
    static int s_nHeld;
};
SpoolerFunctions CHandleCounter::s_real;
int CHandleCounter::s_nHeld;

std::string ExpectedJob()
{
    const SettingsSheetRequest request = ComposeSettingsSheetRequest();
    return "\x1B@\x1B@" + std::string(request.begin(), request.end()) + "\x1B@\x1B@";
}
} // namespace

TEST(SettingsSheetThroughWine, EachSendLeavesExactlyTheFramedRequestInThePortFile)
{
    CFilePrinter printer("optinfo sheet");
    ASSERT_TRUE(printer.IsReady()) << "the spooler refused the file printer";
    CHandleCounter counter;
    for (int nSend = 1; nSend <= 2; ++nSend) {
        SCOPED_TRACE("send " + std::to_string(nSend));
        SendSettingsSheetRequest(
            printer.Name().c_str()); // judged by what arrives, as Wine may report failure
        const std::string strJob = printer.TakeOutput();
        EXPECT_EQ(ExpectedJob(), strJob);
        EXPECT_EQ(0, CHandleCounter::Held());
    }
}

TEST(SettingsSheetThroughWine, AnUnknownPrinterFailsAndHoldsNoHandle)
{
    CHandleCounter counter;
    EXPECT_FALSE(SendSettingsSheetRequest("optinfo no such printer"));
    EXPECT_EQ(0, CHandleCounter::Held());
}
