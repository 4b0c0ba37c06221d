// optinfo-host: arguments, output and exit codes.
#include "host_args.h"
#include "support/wine_test_support.h"

#include <gtest/gtest.h>

namespace {
int Host(const std::string &strArgs, std::string &strOutput)
{
    return RunProcess("\"" + TestBinFolder() + "optinfo-host.exe\" " + strArgs, HOST_START_LINE, strOutput);
}
} // namespace

// The virtual printer reads its scenario from a pipe that never delivers, so the library's
// load hangs after the host's start: the runner gives up at its limit and starts nothing
// again (a second start would find the pipe busy and end).
TEST(Host, AHangAfterTheStartRunsOnceAndFailsAtTheLimit)
{
    const std::string pipeName = "\\\\.\\pipe\\optinfo-hang-" + std::to_string(GetCurrentProcessId());
    HANDLE hPipe = CreateNamedPipeA(pipeName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0,
                                    0, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hPipe);
    const DWORD LIMIT_SECONDS = 3;
    ScopedVariable scenario("ZRAPI_SCENARIO", pipeName);
    ScopedVariable limit("OPTINFO_CHILD_SECONDS", std::to_string(LIMIT_SECONDS));
    std::string output;
    const DWORD dwStart = GetTickCount();
    EXPECT_EQ(-1, Host("--query", output)) << output;
    EXPECT_LT(GetTickCount() - dwStart, 2 * LIMIT_SECONDS * 1000) << output;
    CloseHandle(hPipe);
}

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
