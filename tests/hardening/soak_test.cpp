// Many calls in one process leave it holding no more than after the first hundred: private
// bytes, handles and GDI objects at the end stay within a small constant of that level, and
// the next free thread-local storage slot stays where it was. The query-only call of the real
// DLL against the virtual printer, and the settings-sheet print job to a file printer; each
// library loaded, asked and freed again, the component's DLLs and the virtual printer alone.
// OPTINFO_SOAK_CALLS, OPTINFO_SOAK_JOBS and OPTINFO_SOAK_LOADS set the numbers (10,000 each
// unless set).
#include "support/component.h"
#include "support/record.h"
#include "process_resources.h"

#include "link/bidi_link.h"
#include "sheet/settings_sheet.h"
#include "support/file_printer.h"
#include "support/wine_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <iostream>

namespace {
const unsigned int DEFAULT_COUNT = 10000;
const unsigned int SETTLING_COUNT = 100;

// Heap growth comes in pages and blocks of pages; a leak of a few bytes a call is far
// beyond this after thousands of calls.
const SIZE_T PRIVATE_BYTES_SLACK = 64 * 1024;
const DWORD HANDLE_SLACK = 2;
const DWORD GDI_OBJECT_SLACK = 0;

// The level is read after SETTLING_COUNT steps: a run needs as many again to say anything.
unsigned int Count(const char *pszName)
{
    return ScaledCount(pszName, DEFAULT_COUNT, 2 * SETTLING_COUNT);
}

// Runs the step nCount times; the level after SETTLING_COUNT steps is the reference.
void Soak(unsigned int nCount, const std::function<void(unsigned int)> &step)
{
    ASSERT_GT(nCount, SETTLING_COUNT);
    ProcessResources settled;
    const auto start = std::chrono::steady_clock::now();
    for (unsigned int i = 1; i <= nCount && !::testing::Test::HasFatalFailure(); ++i) {
        step(i);
        if (i == SETTLING_COUNT)
            settled = MeasureProcessResources();
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const ProcessResources end = MeasureProcessResources();
    std::cout << nCount << " steps in "
              << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() << " ms; after "
              << SETTLING_COUNT << ": " << settled.cbPrivate << " private bytes, " << settled.nHandles
              << " handles, " << settled.nGdiObjects << " GDI objects, next TLS index "
              << settled.nNextTlsIndex << "; at the end: " << end.cbPrivate << ", " << end.nHandles << ", "
              << end.nGdiObjects << ", " << end.nNextTlsIndex << " (" << DescribeResourceSources() << ")\n";
    EXPECT_LE(end.cbPrivate, settled.cbPrivate + PRIVATE_BYTES_SLACK);
    EXPECT_LE(end.nHandles, settled.nHandles + HANDLE_SLACK);
    EXPECT_LE(end.nGdiObjects, settled.nGdiObjects + GDI_OBJECT_SLACK);
    EXPECT_LE(end.nNextTlsIndex, settled.nNextTlsIndex);
}
} // namespace

TEST(Soak, QueryOnlyCalls)
{
    // The default printer, and no call log: only the component's own work is repeated.
    SetEnvironmentVariableA("ZRAPI_SCENARIO", nullptr);
    SetEnvironmentVariableA("ZRAPI_LOG", nullptr);
    Component component;
    ASSERT_TRUE(component.Loaded());
    const OptionInfo in = CallerRecord();
    Soak(Count("OPTINFO_SOAK_CALLS"), [&](unsigned int i) {
        OptionInfo out = Canary();
        ASSERT_EQ(1, component.Call("Office RX", "RX-9100W", &in, &out, FALSE, TRUE)) << "call " << i;
        ASSERT_EQ(64, out.nMemoryMB) << "call " << i;
    });
    EXPECT_EQ(nullptr, GetModuleHandleA("ZRAPI.DLL"));
}

// A caller that loads the library for each use, asks the printer and frees the library
// again. The test holds the virtual printer loaded, so that only the component's own loads
// are soaked here.
TEST(Soak, LoadQueryFreeCycles)
{
    SetEnvironmentVariableA("ZRAPI_SCENARIO", nullptr);
    SetEnvironmentVariableA("ZRAPI_LOG", nullptr);
    const HMODULE hZrapi = LoadLibraryA((TestBinFolder() + ZRAPI_FILE_NAME).c_str());
    ASSERT_NE(nullptr, hZrapi);
    const OptionInfo in = CallerRecord();
    for (const char *pszLanguage : {"en", "ja"}) {
        SCOPED_TRACE(pszLanguage);
        Soak(Count("OPTINFO_SOAK_LOADS"), [&](unsigned int i) {
            Component component(pszLanguage);
            ASSERT_TRUE(component.Loaded()) << "load " << i;
            OptionInfo out = Canary();
            ASSERT_EQ(1, component.Call("Office RX", "RX-9100W", &in, &out, FALSE, TRUE)) << "load " << i;
            ASSERT_EQ(64, out.nMemoryMB) << "load " << i;
        });
    }
    FreeLibrary(hZrapi);
}

// The virtual printer loaded, started, asked for the device ID, released and freed on its
// own, as each link of the component does.
TEST(Soak, VirtualPrinterLoadQueryFreeCycles)
{
    SetEnvironmentVariableA("ZRAPI_SCENARIO", nullptr);
    SetEnvironmentVariableA("ZRAPI_LOG", nullptr);
    Soak(Count("OPTINFO_SOAK_LOADS"), [&](unsigned int i) {
        CBidiLink link;
        CString deviceId;
        ASSERT_TRUE(link.QueryDeviceId("Office RX", deviceId)) << "load " << i;
    });
    EXPECT_EQ(nullptr, GetModuleHandleA(ZRAPI_FILE_NAME));
}

TEST(Soak, SettingsSheetJobs)
{
    CFilePrinter printer("optinfo soak");
    ASSERT_TRUE(printer.IsReady()) << "the spooler refused the file printer";
    const SettingsSheetRequest request = ComposeSettingsSheetRequest();
    const std::string job = "\x1B@\x1B@" + std::string(request.begin(), request.end()) + "\x1B@\x1B@";
    Soak(Count("OPTINFO_SOAK_JOBS"), [&](unsigned int) {
        // Judged by what arrives: Wine's spooler may report a failure of a job it printed.
        SendSettingsSheetRequest(printer.Name().c_str());
    });
    EXPECT_EQ(job, printer.TakeOutput()) << "the last job did not arrive whole";
}
