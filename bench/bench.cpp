// What a call costs (make bench; not a test): a query-only TKOpenPrinterInf against the bare
// sequence of library calls it makes, and a settings-sheet print job against the bare
// spooler calls it makes, each as the median of ratios measured side by side in one run.
// Runs as Windows NT 4.0 (the executable's name), where the query reads the options and a
// job begins a document and a page. The virtual printer answers with its default scenario
// and without a call log.
#include "optinfo.h"

#include "link/library_search.h"
#include "link/zrapi_types.h"
#include "sheet/settings_sheet.h"
#include "support/file_printer.h"
#include "support/wine_test_support.h"

#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {
const char PRINTER[] = "Office RX";
const DWORD PRIMARY = 0x10010003;
const LONG SELECTOR = 1;

// Rounds of side-by-side samples, and repetitions per sample (a sample is one clock
// reading around that many repetitions).
const int QUERY_ROUNDS = 41;
const int QUERY_REPETITIONS = 20;
const int JOB_ROUNDS = 21;
const int JOB_REPETITIONS = 10;

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Microseconds per repetition of one sample.
double Sample(const std::function<void()> &work, int nRepetitions)
{
    const double start = Now();
    for (int i = 0; i < nRepetitions; ++i)
        work();
    return (Now() - start) * 1e6 / nRepetitions;
}

struct Comparison {
    double dMeasured;  // median microseconds of the measured work
    double dBare;      // median microseconds of the bare sequence
    double dRatio;     // median of the per-round ratios
    double dRatioLow;  // the ratios' first quartile
    double dRatioHigh; // and third quartile
};

// Alternates the two, so that both see the same state of a shared machine.
Comparison Compare(const std::function<void()> &measured, const std::function<void()> &bare, int nRounds,
                   int nRepetitions)
{
    measured();
    bare();
    std::vector<double> measuredTimes, bareTimes, ratios;
    for (int round = 0; round < nRounds; ++round) {
        const double m = Sample(measured, nRepetitions);
        const double b = Sample(bare, nRepetitions);
        measuredTimes.push_back(m);
        bareTimes.push_back(b);
        ratios.push_back(m / b);
    }
    std::vector<double> sorted = ratios;
    std::sort(sorted.begin(), sorted.end());
    return {Median(measuredTimes), Median(bareTimes), Median(ratios), sorted[sorted.size() / 4],
            sorted[sorted.size() * 3 / 4]};
}

void Report(const char *pszWhat, const Comparison &c)
{
    std::printf("%-28s %7.0f us, bare %7.0f us (%+.0f us): ratio %.3f (quartiles %.3f to %.3f)\n", pszWhat,
                c.dMeasured, c.dBare, c.dMeasured - c.dBare, c.dRatio, c.dRatioLow, c.dRatioHigh);
}

[[noreturn]] void Fail(const char *pszWhy)
{
    std::fprintf(stderr, "bench: %s\n", pszWhy);
    std::exit(1);
}

// The library calls that one query-only TKOpenPrinterInf makes, issued directly: a start,
// the device ID probe, a nested load and start, the channel table, the channel's status,
// the close, both releases and both frees.
struct CZrapi {
    explicit CZrapi(HMODULE hLibrary)
    {
        if (!BindExport(hLibrary, "ZRInitialize", pfnInitialize) ||
            !BindExport(hLibrary, "ZRRelease", pfnRelease) ||
            !BindExport(hLibrary, "ZRGetDeviceID", pfnGetDeviceId) ||
            !BindExport(hLibrary, "ZRGetAvailableChannel", pfnGetAvailableChannel) ||
            !BindExport(hLibrary, "ZROpenChannel", pfnOpenChannel) ||
            !BindExport(hLibrary, "ZRCloseChannel", pfnCloseChannel) ||
            !BindExport(hLibrary, "ZRGetStatus", pfnGetStatus))
            Fail("ZRAPI.DLL lacks a function");
    }
    PFN_ZRInitialize pfnInitialize;
    PFN_ZRRelease pfnRelease;
    PFN_ZRGetDeviceID pfnGetDeviceId;
    PFN_ZRGetAvailableChannel pfnGetAvailableChannel;
    PFN_ZROpenChannel pfnOpenChannel;
    PFN_ZRCloseChannel pfnCloseChannel;
    PFN_ZRGetStatus pfnGetStatus;
};

template <typename TCall> std::vector<BYTE> Probe(TCall call)
{
    LONG size = 0;
    call(nullptr, &size);
    std::vector<BYTE> buffer(static_cast<size_t>(size));
    call(buffer.data(), &size);
    return buffer;
}

void BareQuery()
{
    HMODULE hFirst = LoadLibraryExA(ZRAPI_FILE_NAME, nullptr, 0);
    if (!hFirst)
        Fail("ZRAPI.DLL cannot be loaded");
    CZrapi first(hFirst);
    first.pfnInitialize();
    Probe([&](BYTE *pBuffer, LONG *pnSize) {
        return first.pfnGetDeviceId(SELECTOR, PRINTER, pBuffer, pnSize);
    });

    HMODULE hSecond = LoadLibraryExA(ZRAPI_FILE_NAME, nullptr, 0);
    CZrapi second(hSecond);
    second.pfnInitialize();
    Probe([&](BYTE *pBuffer, LONG *pnSize) {
        return second.pfnGetAvailableChannel(SELECTOR, PRINTER, pBuffer, pnSize);
    });
    const LONG channel = second.pfnOpenChannel(SELECTOR, PRINTER, PRIMARY);
    const std::vector<BYTE> status =
        Probe([&](BYTE *pBuffer, LONG *pnSize) { return second.pfnGetStatus(channel, pBuffer, pnSize); });
    second.pfnCloseChannel(channel);
    second.pfnRelease();
    FreeLibrary(hSecond);

    first.pfnRelease();
    FreeLibrary(hFirst);
    if (status.empty())
        Fail("the bare sequence read no status");
}

// The spooler calls of one settings-sheet job on Windows NT 4.0, issued directly with the
// framed 76-byte request in one write.
void BareJob(const std::string &strPrinter, const std::string &strJob)
{
    HANDLE hPrinter = nullptr;
    if (!OpenPrinterA(const_cast<LPSTR>(strPrinter.c_str()), &hPrinter, nullptr))
        Fail("the file printer cannot be opened");
    DOC_INFO_1A document = {nullptr, nullptr, nullptr};
    StartDocPrinterA(hPrinter, 1, reinterpret_cast<LPBYTE>(&document));
    StartPagePrinter(hPrinter);
    DWORD written = 0;
    WritePrinter(hPrinter, const_cast<char *>(strJob.data()), static_cast<DWORD>(strJob.size()), &written);
    EndPagePrinter(hPrinter);
    EndDocPrinter(hPrinter);
    ClosePrinter(hPrinter);
}

void MeasureQuery()
{
    HMODULE hComponent = LoadLibraryA((TestBinFolder() + "optinfo_en.dll").c_str());
    PFN_TKOpenPrinterInf pfnOpen = nullptr;
    if (!hComponent || !BindExport(hComponent, "TKOpenPrinterInf", pfnOpen))
        Fail("optinfo_en.dll cannot be loaded");
    const OptionInfo in = {};
    auto call = [&] {
        OptionInfo out;
        if (pfnOpen(PRINTER, "RX-9100W", 0, &in, &out, FALSE, TRUE) != 1)
            Fail("the query read no options");
    };
    const Comparison query = Compare(call, BareQuery, QUERY_ROUNDS, QUERY_REPETITIONS);
    Report("query-only TKOpenPrinterInf", query);
    std::printf("  aim: within 1.2 times the bare sequence: %s\n", query.dRatio <= 1.2 ? "met" : "missed");

    // The call as it was before each call found the library once for both its links: two
    // more searches, in the same places, around the same call.
    char path[MAX_PATH];
    auto callSearchingThrice = [&] {
        call();
        FindBidiLibrary(path);
        FindBidiLibrary(path);
    };
    const Comparison searches = Compare(callSearchingThrice, call, QUERY_ROUNDS, QUERY_REPETITIONS);
    std::printf("query call with three searches %7.0f us, with one %7.0f us (%+.0f us): ratio %.3f "
                "(quartiles %.3f to %.3f)\n",
                searches.dMeasured, searches.dBare, searches.dMeasured - searches.dBare, searches.dRatio,
                searches.dRatioLow, searches.dRatioHigh);

    // Steps of the call that the bare sequence does not make, measured alone.
    const double search = Sample([&] { FindBidiLibrary(path); }, 200);
    const double load = Sample(
        [] {
            HMODULE h = LoadLibraryExA(ZRAPI_FILE_NAME, nullptr, 0);
            FreeLibrary(h);
        },
        50);
    HMODULE hLibrary = LoadLibraryExA(ZRAPI_FILE_NAME, nullptr, 0);
    const char *const names[] = {
        "ZRGetDeviceID", "ZRGetAvailableChannel", "ZROpenChannel",   "ZRCloseChannel", "ZRSend",
        "ZRReceive",     "ZRGetStatus",           "ZRReceiveCancel", "ZRSetOption",    "ZRGetOption"};
    const double binding = Sample(
        [&] {
            for (const char *pszName : names)
                GetProcAddress(hLibrary, pszName);
        },
        200);
    FreeLibrary(hLibrary);
    std::printf("  of which, outside the bare sequence: looking for ZRAPI.DLL %.0f us (once a call); "
                "binding a query object (10 look-ups) %.1f us\n  inside both: loading and freeing ZRAPI.DLL "
                "%.0f us\n",
                search, binding, load);
    FreeLibrary(hComponent);
}

void MeasureJob()
{
    CFilePrinter printer("optinfo bench");
    if (!printer.IsReady())
        Fail("the spooler refused the file printer");
    const SettingsSheetRequest request = ComposeSettingsSheetRequest();
    const std::string job = "\x1B@\x1B@" + std::string(request.begin(), request.end()) + "\x1B@\x1B@";
    auto send = [&] { SendSettingsSheetRequest(printer.Name().c_str()); };
    auto bare = [&] { BareJob(printer.Name(), job); };
    send();
    if (printer.TakeOutput() != job)
        Fail("the settings-sheet job did not arrive whole");
    bare();
    if (printer.TakeOutput() != job)
        Fail("the bare job did not arrive whole");
    Report("settings-sheet print job", Compare(send, bare, JOB_ROUNDS, JOB_REPETITIONS));
}
} // namespace

int main()
{
    SetEnvironmentVariableA("ZRAPI_SCENARIO", nullptr);
    SetEnvironmentVariableA("ZRAPI_LOG", nullptr);
    std::printf("%d rounds of %d calls and %d rounds of %d jobs, side by side; medians\n", QUERY_ROUNDS,
                QUERY_REPETITIONS, JOB_ROUNDS, JOB_REPETITIONS);
    MeasureQuery();
    MeasureJob();
    return 0;
}
