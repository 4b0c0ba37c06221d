// The link to the printer maker's bidirectional communication library ZRAPI.DLL: loads and
// starts the library for the object's lifetime and answers device ID and channel status
// questions through short-lived query objects.
#pragma once

#include "framework/string.h"
#include "link/bidi_error.h"
#include "link/zrapi_types.h"

class CBidiQuery;

class CBidiLink {
public:
    CBidiLink();
    CBidiLink(const CBidiLink &) = delete;
    CBidiLink &operator=(const CBidiLink &) = delete;
    virtual ~CBidiLink();

    // Each question fails also when memory runs out for its query object or its answer.
    BOOL QueryDeviceId(LPCSTR pszPrinterName, CString &strDeviceId);
    BOOL QueryStatus(LPCSTR pszPrinterName, DWORD dwChannelKey);
    BOOL QueryDeviceIdSel0(LPCSTR pszPrinterName, CString &strDeviceId);
    BOOL QueryStatusSel0(LPCSTR pszPrinterName, DWORD dwChannelKey);

    BYTE *m_pResult;
    LONG m_nResultSize;
    LONG m_nError;
    LONG m_nLibResult;
    HMODULE m_hLibrary;
    BOOL m_bOpen;
    PFN_ZRInitialize m_pfnInitialize;
    PFN_ZRRelease m_pfnRelease;

private:
    BOOL BeginQuestion();
    BOOL Fail(const CBidiQuery &query, LONG nResult);
    BOOL RunDeviceIdQuery(CBidiQuery &query, LPCSTR pszPrinterName, CString &strDeviceId);
    BOOL RunStatusQuery(CBidiQuery &query, LPCSTR pszPrinterName, DWORD dwChannelKey);
    BOOL ReplaceResult(const BYTE *pBytes, LONG nSize);
    void FreeResult();
};
