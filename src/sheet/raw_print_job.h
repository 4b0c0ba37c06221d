// A byte string sent unchanged to a named printer as one spooler document.
#pragma once

#include <windows.h>

class CRawPrintJob {
public:
    static const DWORD BUFFER_SIZE = 2048;

    CRawPrintJob() = default;
    // Releases a handle still held (a job opened but never closed, or whose ClosePrinter
    // failed). It ends no page or document itself; what becomes of a document left open is
    // the spooler's choice (observed under Wine: ClosePrinter ends it, and it prints).
    virtual ~CRawPrintJob();
    CRawPrintJob(const CRawPrintJob &) = delete;
    CRawPrintJob &operator=(const CRawPrintJob &) = delete;

    // The whole job: open, framing bytes, data, framing bytes, close. Closes in every case.
    BOOL Send(LPCSTR pszPrinterName, const void *pData, DWORD cbData);

    // Opens the printer and begins what this system's spooler needs before data.
    BOOL Open(LPCSTR pszPrinterName);
    // Buffered: small writes gather in the job, long ones go out in BUFFER_SIZE chunks.
    BOOL Write(const void *pData, DWORD cbData);
    // Hands the buffered bytes to the spooler; they are dropped even if it refuses them.
    BOOL Flush();
    // Flushes, finishes page and document, releases the handle; runs even after a failed Open.
    BOOL Close();

private:
    BOOL OpenHandle(LPCSTR pszPrinterName);
    BOOL BeginDocument();
    BOOL BeginPage();
    BOOL WriteDirect(const BYTE *pData, DWORD cbData);
    BOOL FinishPage();
    BOOL FinishDocument();
    BOOL ReleaseHandle();

    HANDLE m_hPrinter = nullptr;
    BYTE m_buffer[BUFFER_SIZE];
    DWORD m_cbBuffered = 0;
};
