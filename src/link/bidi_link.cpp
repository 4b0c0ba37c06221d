#include "link/bidi_link.h"

#include "framework/call_context.h"
#include "framework/heap.h"
#include "framework/module.h"
#include "framework/sync.h"
#include "link/bidi_query.h"
#include "link/library_search.h"

#include <cstring>
#include <utility>

namespace {
// The maker promises nothing about calls from several threads at once: every use of the
// library, from its load to its release, goes through this one at a time. It is never held
// while a window is shown, so a message or dialog on one thread does not stop another's call.
CCriticalSection g_libraryUse;

// The first entry with the key decides; entries past the filled block are never read.
bool IsChannelUsable(const CBidiQuery &query, DWORD dwChannelKey)
{
    const LONG count = query.ChannelsInBlock();
    for (LONG i = 0; i < count; ++i) {
        if (query.m_pChannels[i].dwKey == dwChannelKey)
            return (query.m_pChannels[i].wFlags & BIDI_CHANNEL_AVAILABLE) != 0;
    }
    return false;
}

// One question, asked of a query object made for it alone with new: without memory for
// the object nothing is asked and the question fails. The object goes once it has answered.
template <typename TQuestion> BOOL AskOnce(CBidiQuery *pQuery, TQuestion question)
{
    if (!pQuery)
        return FALSE;
    CSingleLock lock(g_libraryUse);
    const BOOL bAnswered = question(*pQuery);
    delete pQuery;
    return bAnswered;
}

// The file that the call's presence check found; a link made outside any call looks for
// itself. nullptr when there is none.
LPCSTR LibraryToLoad(char (&szOwnSearch)[MAX_PATH])
{
    const CCallContext *pCall = CCallContext::Current();
    if (pCall && pCall->m_szLibraryPath[0] != '\0')
        return pCall->m_szLibraryPath;
    return FindBidiLibrary(szOwnSearch) ? szOwnSearch : nullptr;
}

// The libraries that ZRAPI.DLL imports come from its own folder and the system folder alone
// where the system has the secure loading flags (it then exports AddDllDirectory); elsewhere
// from its own folder first, then the system's usual places.
DWORD LibraryLoadFlags()
{
    FARPROC pfnAddDllDirectory = nullptr;
    const bool bSecureFlags = BindSystemExport("kernel32.dll", "AddDllDirectory", pfnAddDllDirectory);
    return bSecureFlags ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32
                        : LOAD_WITH_ALTERED_SEARCH_PATH;
}
} // namespace

CBidiLink::CBidiLink()
    : m_pResult(nullptr), m_nResultSize(0), m_nError(BIDI_OK), m_nLibResult(0), m_hLibrary(nullptr),
      m_bOpen(FALSE), m_pfnInitialize(nullptr), m_pfnRelease(nullptr)
{
    // A search reads folders that may be slow to answer, so it goes before the lock.
    char ownSearch[MAX_PATH];
    const LPCSTR pszPath = LibraryToLoad(ownSearch);
    const DWORD dwFlags = LibraryLoadFlags();
    CSingleLock lock(g_libraryUse);
    if (pszPath)
        m_hLibrary = LoadLibraryExA(pszPath, nullptr, dwFlags);
    if (!m_hLibrary) {
        m_nError = BIDI_ERR_LOAD;
        return;
    }
    if (!BindExport(m_hLibrary, "ZRInitialize", m_pfnInitialize)) {
        m_nError = BIDI_ERR_NO_INITIALIZE;
        return;
    }
    if (!BindExport(m_hLibrary, "ZRRelease", m_pfnRelease)) {
        m_nError = BIDI_ERR_NO_RELEASE;
        return;
    }
    // Only -13 refuses the start; any other result, negative ones included, owes a release.
    m_bOpen = m_pfnInitialize() != ZR_NOT_STARTED;
}

CBidiLink::~CBidiLink()
{
    CSingleLock lock(g_libraryUse);
    if (m_bOpen) {
        m_pfnRelease();
        m_bOpen = FALSE;
    }
    FreeResult();
    if (m_hLibrary) {
        FreeLibrary(m_hLibrary);
        m_hLibrary = nullptr;
    }
}

BOOL CBidiLink::QueryDeviceId(LPCSTR pszPrinterName, CString &strDeviceId)
{
    return BeginQuestion() && AskOnce(new CBidiQuerySel1(m_hLibrary), [&](CBidiQuery &query) {
               return RunDeviceIdQuery(query, pszPrinterName, strDeviceId);
           });
}

BOOL CBidiLink::QueryStatus(LPCSTR pszPrinterName, DWORD dwChannelKey)
{
    return BeginQuestion() && AskOnce(new CBidiQuerySel1(m_hLibrary), [&](CBidiQuery &query) {
               return RunStatusQuery(query, pszPrinterName, dwChannelKey);
           });
}

BOOL CBidiLink::QueryDeviceIdSel0(LPCSTR pszPrinterName, CString &strDeviceId)
{
    return BeginQuestion() && AskOnce(new CBidiQuerySel0(m_hLibrary), [&](CBidiQuery &query) {
               return RunDeviceIdQuery(query, pszPrinterName, strDeviceId);
           });
}

BOOL CBidiLink::QueryStatusSel0(LPCSTR pszPrinterName, DWORD dwChannelKey)
{
    return BeginQuestion() && AskOnce(new CBidiQuerySel0(m_hLibrary), [&](CBidiQuery &query) {
               return RunStatusQuery(query, pszPrinterName, dwChannelKey);
           });
}

// A link that is not open refuses every question and keeps the code that says why.
BOOL CBidiLink::BeginQuestion()
{
    if (!m_bOpen)
        return FALSE;
    m_nError = BIDI_OK;
    m_nLibResult = 0;
    return TRUE;
}

BOOL CBidiLink::Fail(const CBidiQuery &query, LONG nResult)
{
    m_nError = query.m_nError;
    m_nLibResult = nResult;
    return FALSE;
}

BOOL CBidiLink::RunDeviceIdQuery(CBidiQuery &query, LPCSTR pszPrinterName, CString &strDeviceId)
{
    LONG result = query.GetDeviceId(pszPrinterName);
    BOOL succeeded = result < 0 ? Fail(query, result) : TRUE;
    // After a failure this is the query's empty text: the caller's old text must not pass
    // for the printer's answer.
    strDeviceId = std::move(query.m_strDeviceId);
    return succeeded;
}

BOOL CBidiLink::RunStatusQuery(CBidiQuery &query, LPCSTR pszPrinterName, DWORD dwChannelKey)
{
    LONG result = query.GetAvailableChannels(pszPrinterName);
    if (result < 0)
        return Fail(query, result);
    if (!IsChannelUsable(query, dwChannelKey)) {
        m_nError = BIDI_ERR_CHANNEL_UNAVAILABLE;
        return FALSE;
    }
    result = query.OpenChannel(pszPrinterName, dwChannelKey);
    if (result < 0)
        return Fail(query, result);
    result = query.GetStatus();
    if (result < 0)
        return Fail(query, result);
    if (!ReplaceResult(query.m_pStatus, query.m_nStatusSize))
        return FALSE; // the channel is closed with the query
    // The bytes were read: a failing close is reported but does not take them back.
    result = query.CloseChannel();
    if (result < 0)
        return Fail(query, result);
    return TRUE;
}

BOOL CBidiLink::ReplaceResult(const BYTE *pBytes, LONG nSize)
{
    FreeResult();
    m_pResult = static_cast<BYTE *>(AfxAllocMemory(static_cast<size_t>(nSize)));
    if (!m_pResult)
        return FALSE;
    std::memcpy(m_pResult, pBytes, static_cast<size_t>(nSize));
    m_nResultSize = nSize;
    return TRUE;
}

void CBidiLink::FreeResult()
{
    AfxFreeMemory(m_pResult);
    m_pResult = nullptr;
    m_nResultSize = 0;
}
