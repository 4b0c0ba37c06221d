// Owned text of the framework stand-in, in the shape of the platform framework's string
// class: multibyte text in the system's ANSI code page on the process heap, always
// zero-terminated. It may hold zero bytes of its own, which GetLength counts. An operation
// that runs out of memory leaves the string empty; framework/heap.h remembers why.
//
// In this file:
//   CString           the owned text
//   AfxFormatString2  a string resource with its "%1" and "%2" filled in
//   TextLength, DecimalToLong   what the component carries in place of the C runtime's
#pragma once

#include <windows.h>

#include <cstddef>

class CString {
public:
    CString() = default;
    CString(LPCSTR psz);
    CString(LPCSTR pch, int nLength);
    CString(const CString &str);
    CString(CString &&str);
    CString &operator=(const CString &str);
    CString &operator=(CString &&str);
    CString &operator=(LPCSTR psz);
    ~CString();

    int GetLength() const { return m_nLength; }
    BOOL IsEmpty() const { return m_nLength == 0; }
    void Empty();
    operator LPCSTR() const { return m_pszData ? m_pszData : ""; }

    CString &operator+=(LPCSTR psz);
    CString &operator+=(char ch);

    // nCount bytes from offset nFirst, both clipped to the text.
    CString Mid(int nFirst, int nCount) const;

    // Offset of the first occurrence of pszSub at or after nStart (itself a character start)
    // that starts a character of the code page: the trail byte of a double-byte character
    // never matches. -1 when there is none.
    int Find(LPCSTR pszSub, int nStart = 0) const;

    // String resource nId of this module; FALSE, and empty, when it is missing or empty.
    BOOL LoadString(UINT nId);

    // Room for nMinLength bytes and the terminating zero, for a system call to fill; nullptr
    // when memory runs out. ReleaseBuffer then sets the length (-1: up to the first zero).
    LPSTR GetBuffer(int nMinLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    // Room for nLength bytes and the zero, the text kept. The block it replaces comes back in
    // pOld, to be freed once nothing reads from it. FALSE, and empty, without memory.
    BOOL Reserve(int nLength, char *&pOld);
    CString &Assign(LPCSTR pch, int nLength);
    CString &Append(LPCSTR pch, int nLength);
    // nLength bytes at nOffset (at most the length), the text ending after them.
    CString &CopyAt(int nOffset, LPCSTR pch, int nLength);

    char *m_pszData = nullptr;
    int m_nLength = 0;
    int m_nCapacity = 0; // bytes of m_pszData, the zero included
};

// String resource nId with every "%1" replaced by psz1 and every "%2" by psz2.
void AfxFormatString2(CString &strResult, UINT nId, LPCSTR psz1, LPCSTR psz2);

// The component carries these rather than take them from a C runtime DLL, which not every
// system ships.
// Bytes before the first zero, looking at nMax bytes at most.
size_t TextLength(LPCSTR psz, size_t nMax = static_cast<size_t>(-1));
// Base-10 text read as the C library's strtol reads it: white space, one sign, then digits
// up to the first other character; 0 without digits, the nearest limit beyond the range.
LONG DecimalToLong(LPCSTR psz);
