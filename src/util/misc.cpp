#include "util/misc.h"

#include "framework/list_box.h"

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

const char TAB[] = "\t";

// strnlen, which the C runtime of the older systems lacks.
size_t BoundedLength(LPCSTR pszText, size_t nMax)
{
    size_t length = 0;
    while (length < nMax && pszText[length] != '\0')
        ++length;
    return length;
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
    size_t length = BoundedLength(pszText, MAX_HEX_DIGITS + 1);
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

BOOL CMisc::GetListBoxField(const CListBox &listBox, int nIndex, int nField, CString &strField) const
{
    if (nIndex < 0 || nIndex >= listBox.GetCount())
        return FALSE;
    if (!listBox.GetText(nIndex, strField))
        return FALSE;
    return GetTabField(strField, nField);
}

BOOL CMisc::GetTabField(CString &strText, int nField) const
{
    if (strText.IsEmpty() || nField < 0)
        return FALSE;
    int start = 0;
    for (int i = 0; i < nField; ++i) {
        const int tab = strText.Find(TAB, start);
        if (tab < 0)
            return FALSE;
        start = tab + 1;
    }
    const int tab = strText.Find(TAB, start);
    const int length = tab < 0 ? strText.GetLength() - start : tab - start;
    strText = strText.Mid(start, length);
    // Without memory for the field the string is left empty.
    return strText.GetLength() == length ? TRUE : FALSE;
}
