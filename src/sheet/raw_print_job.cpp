#include "sheet/raw_print_job.h"

#include "sheet/spooler.h"
#include "util/misc.h"

#include <cstring>

namespace {
// ESC @ twice: the printer starts the job from its reset state and ends it there.
const BYTE JOB_FRAMING[] = {0x1B, 0x40, 0x1B, 0x40};

// What a job begins before its data and finishes after it.
enum class Framing { REFUSED, DOCUMENT, DOCUMENT_AND_PAGE };

Framing FramingOf(LONG nCode)
{
    switch (nCode) {
    case SYSVER_WIN32S:
        // Win32s has no spooler of its own that takes a raw job; the handle is still released.
        return Framing::REFUSED;
    case SYSVER_NT_OTHER:
    case SYSVER_NT350:
    case SYSVER_NT351:
    case SYSVER_NT40:
        return Framing::DOCUMENT_AND_PAGE;
    default:
        // The Windows 95 family takes a raw job as a document alone, no page begun. Systems
        // without a code get the same: a spooler may refuse writes outside a document
        // (observed under Wine), so the bare handle would print nothing.
        return Framing::DOCUMENT;
    }
}

// False when the system version cannot be read.
bool ReadFraming(Framing *pFraming)
{
    LONG code = -1; // stays out of range on a system that has no code
    if (!CMisc().GetSystemVersion(&code))
        return false;
    *pFraming = FramingOf(code);
    return true;
}
} // namespace

CRawPrintJob::~CRawPrintJob()
{
    ReleaseHandle();
}

BOOL CRawPrintJob::Send(LPCSTR pszPrinterName, const void *pData, DWORD cbData)
{
    BOOL bSuccess = Open(pszPrinterName) && Write(JOB_FRAMING, sizeof(JOB_FRAMING));
    if (bSuccess) {
        // The closing framing is written even after a failed payload, so the printer leaves
        // the job reset.
        bSuccess = Write(pData, cbData);
        bSuccess = Write(JOB_FRAMING, sizeof(JOB_FRAMING)) && bSuccess;
    }
    bSuccess = Close() && bSuccess;
    return bSuccess;
}

BOOL CRawPrintJob::Open(LPCSTR pszPrinterName)
{
    if (!OpenHandle(pszPrinterName))
        return FALSE;
    Framing framing;
    if (!ReadFraming(&framing))
        return FALSE; // the handle stays for Close to release
    switch (framing) {
    case Framing::REFUSED:
        return FALSE;
    case Framing::DOCUMENT:
        return BeginDocument();
    case Framing::DOCUMENT_AND_PAGE:
        return BeginDocument() && BeginPage();
    }
    return FALSE;
}

BOOL CRawPrintJob::Write(const void *pData, DWORD cbData)
{
    if (!m_hPrinter)
        return FALSE;
    if (cbData == 0)
        return TRUE;
    if (!pData)
        return FALSE;
    const BYTE *pNext = static_cast<const BYTE *>(pData);
    if (cbData > BUFFER_SIZE - m_cbBuffered) {
        if (!WriteDirect(m_buffer, m_cbBuffered))
            return FALSE;
        m_cbBuffered = 0;
        // Long data goes out straight from the caller's memory; a remainder of exactly one
        // buffer is kept for later.
        while (cbData > BUFFER_SIZE) {
            if (!WriteDirect(pNext, BUFFER_SIZE))
                return FALSE;
            pNext += BUFFER_SIZE;
            cbData -= BUFFER_SIZE;
        }
    }
    std::memcpy(m_buffer + m_cbBuffered, pNext, cbData);
    m_cbBuffered += cbData;
    return TRUE;
}

BOOL CRawPrintJob::Flush()
{
    if (!m_hPrinter)
        return FALSE;
    DWORD cbBuffered = m_cbBuffered;
    m_cbBuffered = 0;
    return WriteDirect(m_buffer, cbBuffered);
}

BOOL CRawPrintJob::Close()
{
    BOOL bSuccess = Flush();
    Framing framing;
    if (ReadFraming(&framing)) {
        bSuccess = bSuccess && framing != Framing::REFUSED;
        if (framing == Framing::DOCUMENT_AND_PAGE)
            bSuccess = FinishPage() && bSuccess;
        if (framing == Framing::DOCUMENT || framing == Framing::DOCUMENT_AND_PAGE)
            bSuccess = FinishDocument() && bSuccess;
    }
    bSuccess = ReleaseHandle() && bSuccess;
    return bSuccess;
}

BOOL CRawPrintJob::OpenHandle(LPCSTR pszPrinterName)
{
    // One printer per job: a second handle would lose the first. Without a name the
    // spooler would hand out its own server handle instead of a printer's.
    if (m_hPrinter || !pszPrinterName || !*pszPrinterName)
        return FALSE;
    HANDLE hPrinter = nullptr;
    // OpenPrinterA takes the name as LPSTR but leaves it unchanged.
    if (!g_spooler.pfnOpenPrinter(const_cast<LPSTR>(pszPrinterName), &hPrinter, nullptr))
        return FALSE;
    m_hPrinter = hPrinter;
    return TRUE;
}

BOOL CRawPrintJob::BeginDocument()
{
    if (!m_hPrinter)
        return FALSE;
    // No document name, the printer's own port and its default data type.
    DOC_INFO_1A info = {};
    return g_spooler.pfnStartDocPrinter(m_hPrinter, 1, reinterpret_cast<LPBYTE>(&info)) != 0;
}

BOOL CRawPrintJob::BeginPage()
{
    return m_hPrinter ? g_spooler.pfnStartPagePrinter(m_hPrinter) : FALSE;
}

BOOL CRawPrintJob::WriteDirect(const BYTE *pData, DWORD cbData)
{
    if (!m_hPrinter)
        return FALSE;
    // The count written is not judged: a spooler may report 0 bytes written for bytes it
    // took (observed under Wine).
    DWORD cbWritten = 0;
    return g_spooler.pfnWritePrinter(m_hPrinter, const_cast<BYTE *>(pData), cbData, &cbWritten) != FALSE;
}

BOOL CRawPrintJob::FinishPage()
{
    return m_hPrinter ? g_spooler.pfnEndPagePrinter(m_hPrinter) : FALSE;
}

BOOL CRawPrintJob::FinishDocument()
{
    return m_hPrinter ? g_spooler.pfnEndDocPrinter(m_hPrinter) : FALSE;
}

BOOL CRawPrintJob::ReleaseHandle()
{
    if (!m_hPrinter)
        return TRUE;
    if (!g_spooler.pfnClosePrinter(m_hPrinter))
        return FALSE;
    m_hPrinter = nullptr;
    return TRUE;
}
