// Per-request query objects of the printer link: each binds the library's device and
// channel functions, carries out one request and owns what it read until destroyed.
//
// Classes in this file:
//   BidiChannelEntry  one entry of the library's channel table
//   CBidiQuery        one request: binding, the size probe, what it read
//   CBidiQuerySel0    the request through the library's selector 0
//   CBidiQuerySel1    the request through the library's selector 1
#pragma once

#include "framework/string.h"
#include "link/zrapi_types.h"

// One entry of the channel table that ZRGetAvailableChannel fills in: 8 bytes, no gaps.
struct BidiChannelEntry {
    DWORD dwKey;
    WORD wFlags; // bit 0: the channel can be opened
    WORD wReserved;
};
static_assert(sizeof(BidiChannelEntry) == 8, "the library fills 8-byte channel entries");

const WORD BIDI_CHANNEL_AVAILABLE = 0x0001;

// A size probe asking for more than this is taken as a broken answer, not allocated.
const LONG BIDI_MAX_READ_SIZE = 16 * 1024 * 1024;

// Negative results of our own, for operations that never reached the library call.
const LONG BIDI_RESULT_UNBOUND = -1;      // the function it needs was not bound
const LONG BIDI_RESULT_SIZE_REFUSED = -2; // the size probe asked for an absurd size
const LONG BIDI_RESULT_NO_MEMORY = -3;    // no memory for the block the probe asked for

class CBidiQuery {
public:
    explicit CBidiQuery(HMODULE hLibrary);
    CBidiQuery(const CBidiQuery &) = delete;
    CBidiQuery &operator=(const CBidiQuery &) = delete;
    virtual ~CBidiQuery();

    virtual LONG GetDeviceId(LPCSTR pszPrinterName) = 0;
    virtual LONG OpenChannel(LPCSTR pszPrinterName, DWORD dwChannelKey) = 0;
    virtual LONG GetAvailableChannels(LPCSTR pszPrinterName) = 0;

    LONG CloseChannel();
    LONG GetStatus();

    // Entries of m_pChannels that lie inside the block read, whatever count the library
    // returned.
    LONG ChannelsInBlock() const;

    CString m_strDeviceId;
    BidiChannelEntry *m_pChannels;
    LONG m_nChannels;
    BYTE *m_pStatus;
    LONG m_nStatusSize;
    LONG m_nError;
    LONG m_nChannel;
    PFN_ZRGetDeviceID m_pfnGetDeviceID;
    PFN_ZRGetAvailableChannel m_pfnGetAvailableChannel;
    PFN_ZROpenChannel m_pfnOpenChannel;
    PFN_ZRCloseChannel m_pfnCloseChannel;
    PFN_ZRSend m_pfnSend;
    PFN_ZRReceive m_pfnReceive;
    PFN_ZRGetStatus m_pfnGetStatus;
    PFN_ZRReceiveCancel m_pfnReceiveCancel;
    PFN_ZRSetOption m_pfnSetOption;
    PFN_ZRGetOption m_pfnGetOption;

protected:
    LONG DoGetDeviceId(LONG nSelector, LPCSTR pszPrinterName);
    LONG DoGetAvailableChannels(LONG nSelector, LPCSTR pszPrinterName);
    LONG DoOpenChannel(LONG nSelector, LPCSTR pszPrinterName, DWORD dwChannelKey);
    LONG DoGetStatus();

private:
    LONG BindFunctions(HMODULE hLibrary);
    LONG Fail(LONG nCode, LONG nResult);
    void FreeChannels();
    void FreeStatus();

    LONG m_nChannelBlockSize; // bytes in m_pChannels
};

class CBidiQuerySel0 : public CBidiQuery {
public:
    explicit CBidiQuerySel0(HMODULE hLibrary) : CBidiQuery(hLibrary) {}
    ~CBidiQuerySel0() override {}

    LONG GetDeviceId(LPCSTR pszPrinterName) override;
    LONG OpenChannel(LPCSTR pszPrinterName, DWORD dwChannelKey) override;
    LONG GetAvailableChannels(LPCSTR pszPrinterName) override;
};

class CBidiQuerySel1 : public CBidiQuery {
public:
    explicit CBidiQuerySel1(HMODULE hLibrary) : CBidiQuery(hLibrary) {}
    ~CBidiQuerySel1() override {}

    LONG GetDeviceId(LPCSTR pszPrinterName) override;
    LONG OpenChannel(LPCSTR pszPrinterName, DWORD dwChannelKey) override;
    LONG GetAvailableChannels(LPCSTR pszPrinterName) override;
};
