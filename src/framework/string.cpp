#include "framework/string.h"

#include "framework/heap.h"
#include "framework/mbcs.h"

#include <climits>
#include <cstring>

namespace {
int Clip(int nValue, int nMax)
{
    return nValue < 0 ? 0 : (nValue > nMax ? nMax : nValue);
}

int LengthOf(LPCSTR psz)
{
    return psz ? static_cast<int>(TextLength(psz)) : 0;
}

// The C library's white space.
bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}
} // namespace

size_t TextLength(LPCSTR psz, size_t nMax)
{
    size_t length = 0;
    while (length < nMax && psz[length] != '\0')
        ++length;
    return length;
}

LONG DecimalToLong(LPCSTR psz)
{
    while (IsSpace(*psz))
        ++psz;
    const bool bNegative = *psz == '-';
    if (*psz == '-' || *psz == '+')
        ++psz;
    // The magnitude stops at the nearest value of the type's range.
    const DWORD dwLimit = bNegative ? 0x80000000u : 0x7FFFFFFFu;
    DWORD dwValue = 0;
    for (; *psz >= '0' && *psz <= '9'; ++psz) {
        const DWORD dwDigit = static_cast<DWORD>(*psz - '0');
        dwValue = dwValue > (dwLimit - dwDigit) / 10 ? dwLimit : dwValue * 10 + dwDigit;
    }
    return static_cast<LONG>(bNegative ? 0u - dwValue : dwValue);
}

CString::CString(LPCSTR psz)
{
    Assign(psz, LengthOf(psz));
}

CString::CString(LPCSTR pch, int nLength)
{
    Assign(pch, nLength);
}

CString::CString(const CString &str)
{
    Assign(str.m_pszData, str.m_nLength);
}

CString::CString(CString &&str)
    : m_pszData(str.m_pszData), m_nLength(str.m_nLength), m_nCapacity(str.m_nCapacity)
{
    str.m_pszData = nullptr;
    str.m_nLength = 0;
    str.m_nCapacity = 0;
}

CString &CString::operator=(const CString &str)
{
    return this == &str ? *this : Assign(str.m_pszData, str.m_nLength);
}

CString &CString::operator=(CString &&str)
{
    if (this != &str) {
        Empty();
        m_pszData = str.m_pszData;
        m_nLength = str.m_nLength;
        m_nCapacity = str.m_nCapacity;
        str.m_pszData = nullptr;
        str.m_nLength = 0;
        str.m_nCapacity = 0;
    }
    return *this;
}

CString &CString::operator=(LPCSTR psz)
{
    return Assign(psz, LengthOf(psz));
}

CString::~CString()
{
    AfxFreeMemory(m_pszData);
}

void CString::Empty()
{
    AfxFreeMemory(m_pszData);
    m_pszData = nullptr;
    m_nLength = 0;
    m_nCapacity = 0;
}

CString &CString::operator+=(LPCSTR psz)
{
    return Append(psz, LengthOf(psz));
}

CString &CString::operator+=(char ch)
{
    return Append(&ch, 1);
}

CString CString::Mid(int nFirst, int nCount) const
{
    nFirst = Clip(nFirst, m_nLength);
    return CString(m_pszData + nFirst, Clip(nCount, m_nLength - nFirst));
}

int CString::Find(LPCSTR pszSub, int nStart) const
{
    if (!pszSub || !m_pszData || nStart < 0)
        return -1;
    const size_t subLength = TextLength(pszSub);
    const char *pEnd = m_pszData + m_nLength;
    for (const char *p = m_pszData + nStart; p < pEnd; p = NextChar(p, pEnd)) {
        if (static_cast<size_t>(pEnd - p) >= subLength && std::memcmp(p, pszSub, subLength) == 0)
            return static_cast<int>(p - m_pszData);
    }
    return -1;
}

LPSTR CString::GetBuffer(int nMinLength)
{
    char *pOld = nullptr;
    if (!Reserve(nMinLength > m_nLength ? nMinLength : m_nLength, pOld))
        return nullptr;
    AfxFreeMemory(pOld);
    return m_pszData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (!m_pszData)
        return;
    const int maxLength = m_nCapacity - 1;
    if (nNewLength < 0)
        nNewLength = static_cast<int>(TextLength(m_pszData, static_cast<size_t>(maxLength)));
    m_nLength = Clip(nNewLength, maxLength);
    m_pszData[m_nLength] = '\0';
}

BOOL CString::Reserve(int nLength, char *&pOld)
{
    pOld = nullptr;
    if (nLength < m_nCapacity)
        return TRUE;
    // No text of the component comes near this; a length that would overflow the count is
    // as much beyond the heap as a block it cannot give.
    if (nLength < 0 || nLength >= INT_MAX / 2) {
        Empty();
        AfxNoteOutOfMemory();
        return FALSE;
    }
    // Doubling keeps a string built by many appends from copying itself each time.
    const int capacity = nLength < m_nCapacity * 2 ? m_nCapacity * 2 : nLength + 1;
    char *pNew = static_cast<char *>(AfxAllocMemory(static_cast<size_t>(capacity)));
    if (!pNew) {
        Empty();
        return FALSE;
    }
    if (m_pszData)
        std::memcpy(pNew, m_pszData, static_cast<size_t>(m_nLength) + 1);
    else
        pNew[0] = '\0';
    pOld = m_pszData;
    m_pszData = pNew;
    m_nCapacity = capacity;
    return TRUE;
}

CString &CString::Assign(LPCSTR pch, int nLength)
{
    if (!pch || nLength <= 0) {
        if (m_pszData) {
            m_nLength = 0;
            m_pszData[0] = '\0';
        }
        return *this;
    }
    return CopyAt(0, pch, nLength);
}

CString &CString::Append(LPCSTR pch, int nLength)
{
    return (!pch || nLength <= 0) ? *this : CopyAt(m_nLength, pch, nLength);
}

CString &CString::CopyAt(int nOffset, LPCSTR pch, int nLength)
{
    char *pOld = nullptr;
    // nOffset stays below INT_MAX / 2, so the sum cannot overflow where it is made.
    if (!Reserve(nLength < INT_MAX / 2 ? nOffset + nLength : -1, pOld))
        return *this;
    // The text may come from this string's own block, even from where it goes: moved, and
    // the old block freed after.
    std::memmove(m_pszData + nOffset, pch, static_cast<size_t>(nLength));
    m_nLength = nOffset + nLength;
    m_pszData[m_nLength] = '\0';
    AfxFreeMemory(pOld);
    return *this;
}
