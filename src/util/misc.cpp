#include "util/misc.h"

#include "framework/list_box.h"
#include "framework/mbcs.h"

#include <cstring>

VersionReaderFn g_pfnGetVersionEx = ::GetVersionExA;

namespace {
const size_t MAX_HEX_DIGITS = 8;

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Offset of the first tab that starts a character, or npos.
std::string::size_type FindTab(const std::string &strText)
{
    const char *pBegin = strText.c_str();
    const char *pEnd = pBegin + strText.size();
    for (const char *p = pBegin; p < pEnd; p = NextChar(p, pEnd)) {
        if (*p == '\t')
            return static_cast<std::string::size_type>(p - pBegin);
    }
    return std::string::npos;
}
} // namespace

BOOL CMisc::FindKey(const BYTE *pBytes, LONG nCount, const BYTE *pKey, LONG nKeyLength,
                    const BYTE **ppFound) const
{
    if (!pBytes || !pKey || !ppFound || nKeyLength <= 0 || nCount <= nKeyLength)
        return FALSE;
    for (LONG i = 0; i < nCount - nKeyLength; ++i) {
        if (std::memcmp(pBytes + i, pKey, static_cast<size_t>(nKeyLength)) == 0) {
            *ppFound = pBytes + i;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CMisc::HexToInt(LPCSTR pszText, LONG *pnValue) const
{
    if (!pszText || !pnValue)
        return FALSE;
    size_t length = strnlen(pszText, MAX_HEX_DIGITS + 1);
    if (length == 0 || length > MAX_HEX_DIGITS)
        return FALSE;
    DWORD value = 0;
    for (size_t i = 0; i < length; ++i) {
        int digit = HexDigitValue(pszText[i]);
        if (digit < 0)
            return FALSE;
        value = (value << 4) | static_cast<DWORD>(digit);
    }
    *pnValue = static_cast<LONG>(value);
    return TRUE;
}

bool CMisc::ClassifySystemVersion(DWORD dwPlatformId, DWORD dwMajor, DWORD dwMinor, LONG *pnCode)
{
    LONG code;
    switch (dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        code = SYSVER_WIN32S;
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (dwMajor < 4)
            return false;
        code = (dwMajor == 4 && dwMinor == 0) ? SYSVER_WIN95 : SYSVER_WIN95_LATER;
        break;
    case VER_PLATFORM_WIN32_NT:
        if (dwMajor == 3 && dwMinor == 50)
            code = SYSVER_NT350;
        else if (dwMajor == 3 && dwMinor == 51)
            code = SYSVER_NT351;
        else if (dwMajor == 4 && dwMinor == 0)
            code = SYSVER_NT40;
        else
            code = SYSVER_NT_OTHER;
        break;
    default:
        return false;
    }
    *pnCode = code;
    return true;
}

BOOL CMisc::GetSystemVersion(LONG *pnCode) const
{
    if (!pnCode)
        return FALSE;
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!g_pfnGetVersionEx(&info))
        return FALSE;
    ClassifySystemVersion(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, pnCode);
    return TRUE;
}

BOOL CMisc::GetListBoxField(const CListBox &listBox, int nIndex, int nField, std::string &strField) const
{
    if (nIndex < 0 || nIndex >= listBox.GetCount())
        return FALSE;
    if (!listBox.GetText(nIndex, strField))
        return FALSE;
    return GetTabField(strField, nField);
}

BOOL CMisc::GetTabField(std::string &strText, int nField) const
{
    if (strText.empty() || nField < 0)
        return FALSE;
    std::string copy = strText;
    for (int i = 0; i < nField; ++i) {
        std::string::size_type tab = FindTab(copy);
        if (tab == std::string::npos)
            return FALSE;
        copy.erase(0, tab + 1);
    }
    std::string::size_type tab = FindTab(copy);
    if (tab != std::string::npos)
        copy.erase(tab);
    strText = copy;
    return TRUE;
}
