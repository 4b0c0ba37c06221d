// The block functions that the compiler calls on its own for copies, moves, fills and
// comparisons, in place of the C runtime's: Win32s, Windows NT 3.51 and the first Windows 95
// ship no msvcrt.dll. Linked into the DLLs alone. This unit is compiled freestanding and
// without loop-to-call rewriting, so that GCC cannot turn these loops into calls to
// themselves.
#include <cstddef>

namespace {
// Also right for overlapping blocks whose destination lies below the source.
void CopyForward(unsigned char *pTo, const unsigned char *pFrom, size_t cb)
{
    for (size_t i = 0; i < cb; ++i)
        pTo[i] = pFrom[i];
}
} // namespace

extern "C" {

void *memcpy(void *pDest, const void *pSource, size_t cb)
{
    CopyForward(static_cast<unsigned char *>(pDest), static_cast<const unsigned char *>(pSource), cb);
    return pDest;
}

// A destination above an overlapping source is copied from the end.
void *memmove(void *pDest, const void *pSource, size_t cb)
{
    unsigned char *pTo = static_cast<unsigned char *>(pDest);
    const unsigned char *pFrom = static_cast<const unsigned char *>(pSource);
    if (pTo <= pFrom) {
        CopyForward(pTo, pFrom, cb);
        return pDest;
    }
    while (cb > 0) {
        --cb;
        pTo[cb] = pFrom[cb];
    }
    return pDest;
}

void *memset(void *pDest, int nValue, size_t cb)
{
    unsigned char *pTo = static_cast<unsigned char *>(pDest);
    for (size_t i = 0; i < cb; ++i)
        pTo[i] = static_cast<unsigned char>(nValue);
    return pDest;
}

// Bytes compare as unsigned values.
int memcmp(const void *pA, const void *pB, size_t cb)
{
    const unsigned char *pBytesA = static_cast<const unsigned char *>(pA);
    const unsigned char *pBytesB = static_cast<const unsigned char *>(pB);
    for (size_t i = 0; i < cb; ++i) {
        if (pBytesA[i] != pBytesB[i])
            return pBytesA[i] < pBytesB[i] ? -1 : 1;
    }
    return 0;
}
}
