// Multibyte text stepping and case-insensitive comparison in the system's ANSI code page.
// The text type and the parsers of printer data use only these, so that they also build
// natively on Linux (for fuzzing), where code page 932 lead-byte rules stand in for the
// system's.
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
