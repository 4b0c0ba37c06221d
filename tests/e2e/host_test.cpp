// optinfo-host: arguments, output and exit codes.
#include "support/wine_test_support.h"

#include <gtest/gtest.h>

namespace {
int Host(const std::string &strArgs, std::string &strOutput)
{
    return RunProcess("\"" + TestBinFolder() + "optinfo-host.exe\" " + strArgs, strOutput);
}
} // namespace

TEST(Host, PrintsThePassedThroughRecord)
{
    std::string output;
    EXPECT_EQ(0, Host("--in 1,6,30,32,34,36,38,40,1,64,1,1", output)) << output;
    EXPECT_EQ("result 1\nbHasPrinterId 1\nnPrinterIdCount 6\nnPrinterId0 30\nnPrinterId1 32\n"
              "nPrinterId2 34\nnPrinterId3 36\nnPrinterId4 38\nnPrinterId5 40\nbHasMemory 1\n"
              "nMemoryMB 64\nbHasPaperSource 1\nnPaperSource 1\n",
              output);
}

TEST(Host, FailedCallExitsWithOneAndReportsUntouchedFields)
{
    std::string output;
    EXPECT_EQ(1, Host("--lang ja --model RX-7100W --dialog --in 1,6,-1,-1,-1,-1,-1,-1,0,0,0,0", output))
        << output;
    EXPECT_EQ(0u, output.find("result 0\nbHasPrinterId untouched\n"));
    EXPECT_NE(std::string::npos, output.find("nPaperSource untouched\n"));
}

TEST(Host, UsageErrorsExitWithTwo)
{
    for (const char *pszArgs : {"--lang fr", "--in 1,2,3", "--in 1,2,3,4,5,6,7,8,9,10,11,12,13",
                                "--in 1,x,3,4,5,6,7,8,9,10,11,12", "--reserved -1", "--printer", "--bogus"}) {
        std::string output;
        EXPECT_EQ(2, Host(pszArgs, output)) << pszArgs;
        EXPECT_NE(std::string::npos, output.find("usage: optinfo-host")) << pszArgs;
    }
}
