// Link-time stand-ins for what the parsing files reference but cannot do on Linux: the
// heap, string resources, message boxes, list-box windows, the system version and the
// printer link. None of them is reached by the fuzzed operations except the heap,
// CError::ShowError and the string resources (through CheckModel), which record what
// would have been shown.
#include "stand_ins.h"

#include "framework/app.h"
#include "framework/list_box.h"
#include "link/bidi_link.h"
#include "res/common_ids.h"
#include "util/error.h"

#include <cstdlib>
#include <cstring>

ShownErrors g_shownErrors;
const char STAND_IN_CAPTION[] = "Error";

BOOL GetVersionExA(LPOSVERSIONINFOA)
{
    return FALSE;
}

HANDLE GetProcessHeap()
{
    return nullptr;
}

LPVOID HeapAlloc(HANDLE, DWORD, SIZE_T cb)
{
    return std::malloc(cb);
}

BOOL HeapFree(HANDLE, DWORD, LPVOID p)
{
    std::free(p);
    return TRUE;
}

HINSTANCE AfxGetResourceHandle()
{
    return nullptr;
}

int LoadStringA(HINSTANCE, UINT nId, LPSTR pBuffer, int nBufferSize)
{
    if (nId != IDS_ERROR_CAPTION || nBufferSize < static_cast<int>(sizeof(STAND_IN_CAPTION)))
        return 0;
    std::memcpy(pBuffer, STAND_IN_CAPTION, sizeof(STAND_IN_CAPTION));
    return static_cast<int>(sizeof(STAND_IN_CAPTION)) - 1;
}

int CError::ShowError(int nMessage, int nParam1, int nParam2, LPCSTR pszBefore, LPCSTR pszAfter,
                      LPCSTR pszCaption, UINT nStyle) const
{
    ++g_shownErrors.nCount;
    g_shownErrors.nMessage = nMessage;
    g_shownErrors.nParam1 = nParam1;
    g_shownErrors.nParam2 = nParam2;
    g_shownErrors.bTextAround = pszBefore != nullptr || pszAfter != nullptr;
    g_shownErrors.strCaption = pszCaption ? pszCaption : "";
    g_shownErrors.nStyle = nStyle;
    return 1; // IDOK: the box only has an OK button
}

// An empty list box.
int CListBox::GetCount() const
{
    return 0;
}

bool CListBox::GetText(int, CString &) const
{
    return false;
}

// ReadDeviceOptions is not fuzzed: a link that never loads a library and answers nothing.
// Only the members that ReadDeviceOptions reads are set.
CBidiLink::CBidiLink() : m_pResult(nullptr), m_nResultSize(0), m_nError(BIDI_ERR_LOAD) {}

CBidiLink::~CBidiLink() = default;

BOOL CBidiLink::QueryStatus(LPCSTR, DWORD)
{
    return FALSE;
}
