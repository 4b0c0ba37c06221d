#include "sheet/raw_print_job.h"

#include "recording_spooler.h"

#include <gtest/gtest.h>

namespace {
const char PRINTER[] = "Sheet Printer";

struct System {
    int nCode;             // as CPoseAsSystem takes it
    const char *pszBefore; // calls before the data
    const char *pszAfter;  // calls after it
    bool bTakesData;       // false: the job fails before any data and flushes an empty buffer
};
const System SYSTEMS[] = {
    {0, "Open", "Close", false},
    {1, "Open StartDoc", "EndDoc Close", true},
    {2, "Open StartDoc", "EndDoc Close", true},
    {3, "Open StartDoc StartPage", "EndPage EndDoc Close", true},
    {4, "Open StartDoc StartPage", "EndPage EndDoc Close", true},
    {5, "Open StartDoc StartPage", "EndPage EndDoc Close", true},
    {6, "Open StartDoc StartPage", "EndPage EndDoc Close", true},
    {7, "Open StartDoc", "EndDoc Close", true},
    {-1, "Open", "Close", false},
};

struct Payload {
    DWORD cb;
    const char *pszWrites;
};
const Payload PAYLOADS[] = {
    {0, "Write:8"},
    {68, "Write:76"},
    {2040, "Write:2048"},
    {2041, "Write:2045 Write:4"},
    {5000, "Write:4 Write:2048 Write:2048 Write:908"},
};

// Bytes that differ from one 2048-byte chunk to the next, so misplaced chunks show.
std::vector<BYTE> Pattern(DWORD cb)
{
    std::vector<BYTE> bytes(cb);
    for (DWORD i = 0; i < cb; ++i)
        bytes[i] = static_cast<BYTE>(i * 7 + i / 2048);
    return bytes;
}

std::vector<BYTE> Framed(const std::vector<BYTE> &payload)
{
    std::vector<BYTE> framed = {0x1B, 0x40, 0x1B, 0x40};
    framed.insert(framed.end(), payload.begin(), payload.end());
    framed.insert(framed.end(), {0x1B, 0x40, 0x1B, 0x40});
    return framed;
}

// One job, destroyed before its calls are judged.
BOOL SendOnce(LPCSTR pszPrinter, const std::vector<BYTE> &data)
{
    CRawPrintJob job;
    return job.Send(pszPrinter, data.data(), static_cast<DWORD>(data.size()));
}
} // namespace

TEST(RawPrintJob, CallsAndWritesOfEverySystemForEachPayloadSize)
{
    for (const System &system : SYSTEMS) {
        for (const Payload &payload : PAYLOADS) {
            SCOPED_TRACE("code " + std::to_string(system.nCode) + ", " + std::to_string(payload.cb) +
                         " bytes");
            CPoseAsSystem pose(system.nCode);
            CRecordingSpooler spooler;
            const std::vector<BYTE> data = Pattern(payload.cb);
            EXPECT_EQ(system.bTakesData, SendOnce(PRINTER, data) != FALSE);
            EXPECT_EQ(std::string(system.pszBefore) + " " +
                          (system.bTakesData ? payload.pszWrites : "Write:0") + " " + system.pszAfter,
                      spooler.m_strCalls);
            EXPECT_EQ(system.bTakesData ? Framed(data) : std::vector<BYTE>(), spooler.m_written);
            EXPECT_EQ(PRINTER, spooler.m_strPrinterName);
        }
    }
}

TEST(RawPrintJob, ARefusedCallFailsTheJobButItIsStillFinishedAndReleased)
{
    const struct {
        int nCode;
        const char *pszRefused;
        DWORD cbPayload;
        const char *pszCalls;
    } cases[] = {
        {6, "Open", 68, "Open"},
        {6, "StartDoc", 68, "Open StartDoc Write:0 EndPage EndDoc Close"},
        {1, "StartDoc", 68, "Open StartDoc Write:0 EndDoc Close"},
        {6, "StartPage", 68, "Open StartDoc StartPage Write:0 EndPage EndDoc Close"},
        {6, "Write", 68, "Open StartDoc StartPage Write:76 EndPage EndDoc Close"},
        // A refused flush keeps the buffer; a refused chunk drops the rest of the data.
        {1, "Write#1", 5000, "Open StartDoc Write:4 Write:8 EndDoc Close"},
        {6, "Write#2", 5000, "Open StartDoc StartPage Write:4 Write:2048 Write:4 EndPage EndDoc Close"},
        {6, "EndPage", 68, "Open StartDoc StartPage Write:76 EndPage EndDoc Close"},
        {6, "EndDoc", 68, "Open StartDoc StartPage Write:76 EndPage EndDoc Close"},
        // The handle is kept, and the destroyed job tries once more to release it.
        {6, "Close", 68, "Open StartDoc StartPage Write:76 EndPage EndDoc Close Close"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.pszRefused) + " refused on code " + std::to_string(c.nCode));
        CPoseAsSystem pose(c.nCode);
        CRecordingSpooler spooler;
        spooler.m_refused = {c.pszRefused};
        EXPECT_FALSE(SendOnce(PRINTER, Pattern(c.cbPayload)));
        EXPECT_EQ(c.pszCalls, spooler.m_strCalls);
    }
}

TEST(RawPrintJob, AJobDestroyedOpenReleasesItsHandleWithoutFinishingPageOrDocument)
{
    CPoseAsSystem pose(6);
    CRecordingSpooler spooler;
    {
        CRawPrintJob job;
        ASSERT_TRUE(job.Open(PRINTER));
        ASSERT_TRUE(job.Write("abc", 3));
    }
    EXPECT_EQ("Open StartDoc StartPage Close", spooler.m_strCalls);
}

TEST(RawPrintJob, MisuseIsRefusedAndLeavesTheOpenJobAsItWas)
{
    CPoseAsSystem pose(6);
    CRecordingSpooler spooler;
    spooler.m_refused = {"Write#2"}; // the first chunk of the oversized write
    const std::vector<BYTE> chunk = Pattern(CRawPrintJob::BUFFER_SIZE);
    CRawPrintJob job;
    ASSERT_TRUE(job.Open(PRINTER));
    EXPECT_FALSE(job.Open(PRINTER)) << "a second handle would lose the first";
    ASSERT_TRUE(job.Write("abcd", 4));
    EXPECT_FALSE(job.Write(nullptr, 1));
    // Added to the 4 buffered bytes this length wraps to 2: counted that way, it would be
    // copied into the buffer whole. It goes out in chunks, the first of which is refused.
    EXPECT_FALSE(job.Write(chunk.data(), 0xFFFFFFFE));
    EXPECT_TRUE(job.Close());
    EXPECT_EQ("Open StartDoc StartPage Write:4 Write:2048 Write:0 EndPage EndDoc Close", spooler.m_strCalls);
    std::vector<BYTE> expected = {'a', 'b', 'c', 'd'};
    expected.insert(expected.end(), chunk.begin(), chunk.end());
    EXPECT_EQ(expected, spooler.m_written);
}

TEST(RawPrintJob, WithoutAPrinterNameTheSpoolerIsNotAsked)
{
    CPoseAsSystem pose(6);
    CRecordingSpooler spooler;
    EXPECT_FALSE(SendOnce("", Pattern(68)));
    EXPECT_FALSE(SendOnce(nullptr, Pattern(68)));
    EXPECT_EQ("", spooler.m_strCalls) << "an empty name would open the spooler's server handle";
}
