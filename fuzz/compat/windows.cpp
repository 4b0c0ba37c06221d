// The process heap of the fuzz build: the C library's.
#include <windows.h>

#include <cstdlib>

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

namespace {
const DWORD SLOT_COUNT = 8;
LPVOID g_slots[SLOT_COUNT];
DWORD g_nSlots = 0;
} // namespace

DWORD TlsAlloc()
{
    return g_nSlots < SLOT_COUNT ? g_nSlots++ : TLS_OUT_OF_INDEXES;
}

BOOL TlsFree(DWORD dwIndex)
{
    return dwIndex < g_nSlots;
}

LPVOID TlsGetValue(DWORD dwIndex)
{
    return dwIndex < g_nSlots ? g_slots[dwIndex] : nullptr;
}

BOOL TlsSetValue(DWORD dwIndex, LPVOID pValue)
{
    if (dwIndex >= g_nSlots)
        return FALSE;
    g_slots[dwIndex] = pValue;
    return TRUE;
}
