// The link to the printer maker's bidirectional communication library ZRAPI.DLL: loads and
// starts the library for the object's lifetime and answers device ID and channel status
// questions through short-lived query objects.
#pragma once

#include "framework/string.h"
#include "link/zrapi_types.h"

class CBidiQuery;

// Error codes recorded in m_nError; never shown to the user.
enum BidiError : LONG {
    BIDI_OK = 0,
    BIDI_ERR_LOAD = 1,
    BIDI_ERR_NO_INITIALIZE = 2,
    BIDI_ERR_NO_RELEASE = 3,
    BIDI_ERR_NO_GET_DEVICE_ID = 4,
    BIDI_ERR_NO_GET_AVAILABLE_CHANNEL = 5,
    BIDI_ERR_NO_OPEN_CHANNEL = 6,
    BIDI_ERR_NO_CLOSE_CHANNEL = 7,
    BIDI_ERR_NO_SEND = 8,
    BIDI_ERR_NO_RECEIVE = 9,
    BIDI_ERR_NO_GET_STATUS = 10,
    BIDI_ERR_NO_RECEIVE_CANCEL = 11,
    BIDI_ERR_NO_SET_OPTION = 12,
    BIDI_ERR_NO_GET_OPTION = 13,
    BIDI_ERR_CHANNEL_UNAVAILABLE = 14,
    BIDI_ERR_GET_DEVICE_ID = 15,
    BIDI_ERR_OPEN_CHANNEL = 16,
    BIDI_ERR_CLOSE_CHANNEL = 17,
    BIDI_ERR_GET_AVAILABLE_CHANNEL = 18,
    BIDI_ERR_GET_STATUS = 19,
};

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
