#include "link/bidi_query.h"

#include "framework/heap.h"
#include "link/bidi_error.h"

#include <algorithm>
#include <cstring>

namespace {
const LONG SELECTOR_0 = 0;
const LONG SELECTOR_1 = 1;
const LONG NO_CHANNEL = -1;

// A block read through the size probe: nAllocated bytes, the size the probe reported, of
// which the library said after filling that the first nDelivered hold its answer.
struct SizedBlock {
    BYTE *pBytes = nullptr;
    LONG nAllocated = 0;
    LONG nDelivered = 0;
};

// The size-probe read shared by the device ID, channel table and status reads: ask with a
// null buffer for the size, allocate exactly that, ask again to fill it. The delivered
// count is kept inside the block: a library that raises it must not make us read past it.
// Only the status read relies on it; the device ID is a zero-terminated text and the table
// is counted by the result, so those are bounded by the block. The caller frees the block
// (AfxFreeMemory).
template <typename TCall> LONG ReadSized(TCall call, SizedBlock &block)
{
    LONG size = 0;
    LONG result = call(nullptr, &size);
    if (result < 0 && result != ZR_SIZE_PROBED)
        return result;
    if (size < 0 || size > BIDI_MAX_READ_SIZE)
        return BIDI_RESULT_SIZE_REFUSED;
    const LONG allocated = size;
    // A null buffer would only ask for the size again.
    BYTE *pBuffer = static_cast<BYTE *>(AfxAllocMemory(static_cast<size_t>(allocated)));
    if (!pBuffer)
        return BIDI_RESULT_NO_MEMORY;
    std::memset(pBuffer, 0, static_cast<size_t>(allocated));
    result = call(pBuffer, &size);
    if (result < 0) {
        AfxFreeMemory(pBuffer);
        return result;
    }
    block.pBytes = pBuffer;
    block.nAllocated = allocated;
    block.nDelivered = std::clamp(size, 0L, allocated);
    return result;
}
} // namespace

CBidiQuery::CBidiQuery(HMODULE hLibrary)
    : m_pChannels(nullptr), m_nChannels(0), m_pStatus(nullptr), m_nStatusSize(0), m_nError(BIDI_OK),
      m_nChannel(NO_CHANNEL), m_pfnGetDeviceID(nullptr), m_pfnGetAvailableChannel(nullptr),
      m_pfnOpenChannel(nullptr), m_pfnCloseChannel(nullptr), m_pfnSend(nullptr), m_pfnReceive(nullptr),
      m_pfnGetStatus(nullptr), m_pfnReceiveCancel(nullptr), m_pfnSetOption(nullptr), m_pfnGetOption(nullptr),
      m_nChannelBlockSize(0)
{
    m_nError = BindFunctions(hLibrary);
}

CBidiQuery::~CBidiQuery()
{
    FreeChannels();
    FreeStatus();
    CloseChannel();
}

// Binds in a fixed order and stops at the first missing function, whose code it returns.
LONG CBidiQuery::BindFunctions(HMODULE hLibrary)
{
    if (!BindExport(hLibrary, "ZRGetDeviceID", m_pfnGetDeviceID))
        return BIDI_ERR_NO_GET_DEVICE_ID;
    if (!BindExport(hLibrary, "ZRGetAvailableChannel", m_pfnGetAvailableChannel))
        return BIDI_ERR_NO_GET_AVAILABLE_CHANNEL;
    if (!BindExport(hLibrary, "ZROpenChannel", m_pfnOpenChannel))
        return BIDI_ERR_NO_OPEN_CHANNEL;
    if (!BindExport(hLibrary, "ZRCloseChannel", m_pfnCloseChannel))
        return BIDI_ERR_NO_CLOSE_CHANNEL;
    if (!BindExport(hLibrary, "ZRSend", m_pfnSend))
        return BIDI_ERR_NO_SEND;
    if (!BindExport(hLibrary, "ZRReceive", m_pfnReceive))
        return BIDI_ERR_NO_RECEIVE;
    if (!BindExport(hLibrary, "ZRGetStatus", m_pfnGetStatus))
        return BIDI_ERR_NO_GET_STATUS;
    if (!BindExport(hLibrary, "ZRReceiveCancel", m_pfnReceiveCancel))
        return BIDI_ERR_NO_RECEIVE_CANCEL;
    if (!BindExport(hLibrary, "ZRSetOption", m_pfnSetOption))
        return BIDI_ERR_NO_SET_OPTION;
    if (!BindExport(hLibrary, "ZRGetOption", m_pfnGetOption))
        return BIDI_ERR_NO_GET_OPTION;
    return BIDI_OK;
}

LONG CBidiQuery::Fail(LONG nCode, LONG nResult)
{
    m_nError = nCode;
    return nResult;
}

void CBidiQuery::FreeChannels()
{
    AfxFreeMemory(m_pChannels);
    m_pChannels = nullptr;
    m_nChannels = 0;
    m_nChannelBlockSize = 0;
}

void CBidiQuery::FreeStatus()
{
    AfxFreeMemory(m_pStatus);
    m_pStatus = nullptr;
    m_nStatusSize = 0;
}

LONG CBidiQuery::ChannelsInBlock() const
{
    const LONG fitting = m_nChannelBlockSize / static_cast<LONG>(sizeof(BidiChannelEntry));
    return std::clamp(m_nChannels, 0L, fitting);
}

LONG CBidiQuery::DoGetDeviceId(LONG nSelector, LPCSTR pszPrinterName)
{
    if (!m_pfnGetDeviceID)
        return BIDI_RESULT_UNBOUND;
    SizedBlock block;
    LONG result =
        ReadSized([&](BYTE *pBuffer,
                      LONG *pnSize) { return m_pfnGetDeviceID(nSelector, pszPrinterName, pBuffer, pnSize); },
                  block);
    if (result < 0)
        return Fail(BIDI_ERR_GET_DEVICE_ID, result);
    // The text may lack its terminating zero: it ends at the first zero or the block's end.
    const BYTE *pText = block.pBytes;
    const int length = static_cast<int>(std::find(pText, pText + block.nAllocated, 0) - pText);
    m_strDeviceId = CString(reinterpret_cast<const char *>(pText), length);
    AfxFreeMemory(block.pBytes);
    // A text cut short for want of memory is not the printer's answer.
    if (m_strDeviceId.GetLength() != length)
        return Fail(BIDI_ERR_GET_DEVICE_ID, BIDI_RESULT_NO_MEMORY);
    return result;
}

LONG CBidiQuery::DoGetAvailableChannels(LONG nSelector, LPCSTR pszPrinterName)
{
    FreeChannels();
    if (!m_pfnGetAvailableChannel)
        return BIDI_RESULT_UNBOUND;
    SizedBlock block;
    LONG result = ReadSized(
        [&](BYTE *pBuffer, LONG *pnSize) {
            return m_pfnGetAvailableChannel(nSelector, pszPrinterName, pBuffer, pnSize);
        },
        block);
    if (result < 0)
        return Fail(BIDI_ERR_GET_AVAILABLE_CHANNEL, result);
    m_pChannels = reinterpret_cast<BidiChannelEntry *>(block.pBytes);
    m_nChannelBlockSize = block.nAllocated;
    m_nChannels = result; // the library counts entries; ChannelsInBlock keeps a walk inside the block
    return result;
}

LONG CBidiQuery::DoOpenChannel(LONG nSelector, LPCSTR pszPrinterName, DWORD dwChannelKey)
{
    LONG result = CloseChannel();
    if (result < 0)
        return result;
    // A channel that could not be closed again is never opened.
    if (!m_pfnOpenChannel || !m_pfnCloseChannel)
        return BIDI_RESULT_UNBOUND;
    result = m_pfnOpenChannel(nSelector, pszPrinterName, dwChannelKey);
    if (result < 0)
        return Fail(BIDI_ERR_OPEN_CHANNEL, result);
    m_nChannel = result;
    return result;
}

LONG CBidiQuery::CloseChannel()
{
    if (m_nChannel < 0)
        return 0;
    // Bound: DoOpenChannel opens nothing without it.
    LONG result = m_pfnCloseChannel(m_nChannel);
    if (result < 0)
        m_nError = BIDI_ERR_CLOSE_CHANNEL;
    m_nChannel = NO_CHANNEL;
    return result;
}

LONG CBidiQuery::GetStatus()
{
    return DoGetStatus();
}

LONG CBidiQuery::DoGetStatus()
{
    FreeStatus();
    if (!m_pfnGetStatus)
        return BIDI_RESULT_UNBOUND;
    SizedBlock block;
    LONG result = ReadSized(
        [&](BYTE *pBuffer, LONG *pnSize) { return m_pfnGetStatus(m_nChannel, pBuffer, pnSize); }, block);
    if (result < 0)
        return Fail(BIDI_ERR_GET_STATUS, result);
    m_pStatus = block.pBytes;
    m_nStatusSize = block.nDelivered;
    return result;
}

LONG CBidiQuerySel0::GetDeviceId(LPCSTR pszPrinterName)
{
    return DoGetDeviceId(SELECTOR_0, pszPrinterName);
}

LONG CBidiQuerySel0::OpenChannel(LPCSTR pszPrinterName, DWORD dwChannelKey)
{
    return DoOpenChannel(SELECTOR_0, pszPrinterName, dwChannelKey);
}

LONG CBidiQuerySel0::GetAvailableChannels(LPCSTR pszPrinterName)
{
    return DoGetAvailableChannels(SELECTOR_0, pszPrinterName);
}

LONG CBidiQuerySel1::GetDeviceId(LPCSTR pszPrinterName)
{
    return DoGetDeviceId(SELECTOR_1, pszPrinterName);
}

LONG CBidiQuerySel1::OpenChannel(LPCSTR pszPrinterName, DWORD dwChannelKey)
{
    return DoOpenChannel(SELECTOR_1, pszPrinterName, dwChannelKey);
}

LONG CBidiQuerySel1::GetAvailableChannels(LPCSTR pszPrinterName)
{
    return DoGetAvailableChannels(SELECTOR_1, pszPrinterName);
}
