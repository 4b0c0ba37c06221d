#include "recording_spooler.h"

#include "sheet/spooler.h"
#include "util/misc.h"

#include <gtest/gtest.h>

namespace {
CRecordingSpooler *g_pRecorder = nullptr;

BOOL WINAPI RecordOpen(LPSTR pszName, LPHANDLE phPrinter, LPPRINTER_DEFAULTSA pDefault)
{
    EXPECT_EQ(nullptr, *phPrinter) << "the handle variable is cleared beforehand";
    EXPECT_EQ(nullptr, pDefault);
    g_pRecorder->m_strPrinterName = pszName;
    if (!g_pRecorder->Record("Open", CRecordingSpooler::Handle()))
        return FALSE;
    *phPrinter = CRecordingSpooler::Handle();
    return TRUE;
}

DWORD WINAPI RecordStartDoc(HANDLE hPrinter, DWORD nLevel, LPBYTE pInfo)
{
    const DOC_INFO_1A *pDoc = reinterpret_cast<const DOC_INFO_1A *>(pInfo);
    EXPECT_EQ(1u, nLevel);
    EXPECT_TRUE(pDoc && !pDoc->pDocName && !pDoc->pOutputFile && !pDoc->pDatatype);
    return g_pRecorder->Record("StartDoc", hPrinter) ? 42 : 0;
}

BOOL WINAPI RecordStartPage(HANDLE hPrinter)
{
    return g_pRecorder->Record("StartPage", hPrinter);
}

BOOL WINAPI RecordWrite(HANDLE hPrinter, LPVOID pData, DWORD cbData, LPDWORD pcbWritten)
{
    EXPECT_NE(nullptr, pcbWritten);
    const BYTE *pBytes = static_cast<const BYTE *>(pData);
    g_pRecorder->m_written.insert(g_pRecorder->m_written.end(), pBytes, pBytes + cbData);
    *pcbWritten = 0; // as Wine's spooler reports it
    return g_pRecorder->Record("Write:" + std::to_string(cbData), hPrinter);
}

BOOL WINAPI RecordEndPage(HANDLE hPrinter)
{
    return g_pRecorder->Record("EndPage", hPrinter);
}

BOOL WINAPI RecordEndDoc(HANDLE hPrinter)
{
    return g_pRecorder->Record("EndDoc", hPrinter);
}

BOOL WINAPI RecordClose(HANDLE hPrinter)
{
    return g_pRecorder->Record("Close", hPrinter);
}

SpoolerFunctions g_realSpooler;

// The platform, major and minor version of a system of each code, and of one without.
const OSVERSIONINFOA SYSTEMS[] = {
    {sizeof(OSVERSIONINFOA), 3, 10, 0, VER_PLATFORM_WIN32s, ""},
    {sizeof(OSVERSIONINFOA), 4, 0, 0, VER_PLATFORM_WIN32_WINDOWS, ""},
    {sizeof(OSVERSIONINFOA), 4, 10, 0, VER_PLATFORM_WIN32_WINDOWS, ""},
    {sizeof(OSVERSIONINFOA), 5, 0, 0, VER_PLATFORM_WIN32_NT, ""},
    {sizeof(OSVERSIONINFOA), 3, 50, 0, VER_PLATFORM_WIN32_NT, ""},
    {sizeof(OSVERSIONINFOA), 3, 51, 0, VER_PLATFORM_WIN32_NT, ""},
    {sizeof(OSVERSIONINFOA), 4, 0, 0, VER_PLATFORM_WIN32_NT, ""},
    {sizeof(OSVERSIONINFOA), 4, 0, 0, 3, ""},
};
int g_nPosedCode = 0;

BOOL WINAPI PosedVersion(LPOSVERSIONINFOA pInfo)
{
    if (g_nPosedCode < 0)
        return FALSE;
    *pInfo = SYSTEMS[g_nPosedCode];
    return TRUE;
}
} // namespace

CRecordingSpooler::CRecordingSpooler()
{
    g_pRecorder = this;
    g_realSpooler = g_spooler;
    g_spooler = {RecordOpen,    RecordStartDoc, RecordStartPage, RecordWrite,
                 RecordEndPage, RecordEndDoc,   RecordClose};
}

CRecordingSpooler::~CRecordingSpooler()
{
    g_spooler = g_realSpooler;
    g_pRecorder = nullptr;
}

bool CRecordingSpooler::Record(const std::string &strCall, HANDLE hPrinter)
{
    EXPECT_EQ(Handle(), hPrinter) << strCall;
    m_strCalls += (m_strCalls.empty() ? "" : " ") + strCall;
    const std::string strName = strCall.substr(0, strCall.find(':'));
    const std::string strNumbered = strName == "Write" ? "Write#" + std::to_string(++m_nWrites) : strName;
    for (const std::string &strRefused : m_refused) {
        if (strRefused == strName || strRefused == strNumbered)
            return false;
    }
    return true;
}

CPoseAsSystem::CPoseAsSystem(int nCode)
{
    g_nPosedCode = nCode;
    g_pfnGetVersionEx = PosedVersion;
}

CPoseAsSystem::~CPoseAsSystem()
{
    g_pfnGetVersionEx = ::GetVersionExA;
}
