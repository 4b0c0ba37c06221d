// PLACEHOLDER until the printer link lands: a link that never loads the library.
#include "link/bidi_link.h"

CBidiLink::CBidiLink()
    : m_pResult(nullptr), m_nResultSize(0), m_nError(BIDI_ERR_LOAD), m_nLibResult(0), m_hLibrary(nullptr),
      m_bOpen(FALSE), m_pfnInitialize(nullptr), m_pfnRelease(nullptr)
{
}
CBidiLink::~CBidiLink() {}
BOOL CBidiLink::QueryDeviceId(LPCSTR, std::string &)
{
    return FALSE;
}
BOOL CBidiLink::QueryStatus(LPCSTR, DWORD)
{
    return FALSE;
}
BOOL CBidiLink::QueryDeviceIdSel0(LPCSTR, std::string &)
{
    return FALSE;
}
BOOL CBidiLink::QueryStatusSel0(LPCSTR, DWORD)
{
    return FALSE;
}
