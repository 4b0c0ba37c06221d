// CMisc's byte and text helpers, which need nothing of Windows but its types; the helpers
// that ask the system are in misc_system.cpp.
#include "util/misc.h"

#include <cstring>

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
    size_t length = TextLength(pszText, MAX_HEX_DIGITS + 1);
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
    return strText.GetLength() == length;
}
