// Multibyte text stepping and case-insensitive comparison in the system's ANSI code page,
// and the split of a path at its last separator. The text type and the parsers of printer
// data use only these, so that they also build natively on Linux (for fuzzing), where code
// page 932 lead-byte rules stand in for the system's.
#pragma once

#ifdef _WIN32
#include <windows.h>

// Next character start after p, never beyond pEnd.
inline const char *NextChar(const char *p, const char *pEnd)
{
    const char *pNext = (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p + 1 < pEnd) ? p + 2 : p + 1;
    return pNext;
}

inline int CompareNoCase(const char *pszA, const char *pszB)
{
    return lstrcmpiA(pszA, pszB);
}
#else
#include <strings.h>

inline bool IsCp932LeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

inline const char *NextChar(const char *p, const char *pEnd)
{
    return (IsCp932LeadByte(static_cast<unsigned char>(*p)) && p + 1 < pEnd) ? p + 2 : p + 1;
}

inline int CompareNoCase(const char *pszA, const char *pszB)
{
    return strcasecmp(pszA, pszB);
}
#endif

inline bool IsPathSeparator(char c)
{
    return c == '\\' || c == '/';
}

// The length of the text through its last separator, 0 when it has none. Steps by
// characters: the second byte of a double-byte character may be a backslash.
inline unsigned int LengthThroughLastSeparator(const char *pText, unsigned int cch)
{
    const char *const pEnd = pText + cch;
    unsigned int cchThrough = 0;
    for (const char *p = pText; p < pEnd; p = NextChar(p, pEnd)) {
        if (IsPathSeparator(*p))
            cchThrough = static_cast<unsigned int>(p - pText) + 1;
    }
    return cchThrough;
}
