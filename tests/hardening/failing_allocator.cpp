#include "hardening/failing_allocator.h"

#include <cstdlib>
#include <cstring>

namespace {
struct Counters {
    unsigned int nAllocations = 0;
    unsigned int nFirstFailing = 0;
    unsigned int nFailing = 0;
    long nLive = 0;
};
Counters g_counters;

// The DLL's own import entries, as they were.
decltype(&HeapAlloc) g_pfnHeapAlloc = nullptr;
decltype(&HeapReAlloc) g_pfnHeapReAlloc = nullptr;
decltype(&HeapFree) g_pfnHeapFree = nullptr;
decltype(&std::malloc) g_pfnMalloc = nullptr;
decltype(&std::calloc) g_pfnCalloc = nullptr;
decltype(&std::realloc) g_pfnRealloc = nullptr;
decltype(&std::free) g_pfnFree = nullptr;

// Counts one allocation asked for; false when it is to fail.
bool Admit()
{
    const unsigned int n = ++g_counters.nAllocations;
    return g_counters.nFirstFailing == 0 || n < g_counters.nFirstFailing ||
           n - g_counters.nFirstFailing >= g_counters.nFailing;
}

void *Handed(void *p)
{
    g_counters.nLive += p ? 1 : 0;
    return p;
}

void Freed(void *p)
{
    g_counters.nLive -= p ? 1 : 0;
}

LPVOID WINAPI CountingHeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T cb)
{
    return Admit() ? Handed(g_pfnHeapAlloc(hHeap, dwFlags, cb)) : nullptr;
}

// A reallocation keeps its block; a failed one leaves it as it was.
LPVOID WINAPI CountingHeapReAlloc(HANDLE hHeap, DWORD dwFlags, LPVOID p, SIZE_T cb)
{
    return Admit() ? g_pfnHeapReAlloc(hHeap, dwFlags, p, cb) : nullptr;
}

BOOL WINAPI CountingHeapFree(HANDLE hHeap, DWORD dwFlags, LPVOID p)
{
    Freed(p);
    return g_pfnHeapFree(hHeap, dwFlags, p);
}

void *__cdecl CountingMalloc(size_t cb)
{
    return Admit() ? Handed(g_pfnMalloc(cb)) : nullptr;
}

void *__cdecl CountingCalloc(size_t nCount, size_t cb)
{
    return Admit() ? Handed(g_pfnCalloc(nCount, cb)) : nullptr;
}

void *__cdecl CountingRealloc(void *p, size_t cb)
{
    if (!Admit())
        return nullptr;
    void *pNew = g_pfnRealloc(p, cb);
    if (!p)
        Handed(pNew);
    else if (cb == 0)
        Freed(p);
    return pNew;
}

void __cdecl CountingFree(void *p)
{
    Freed(p);
    g_pfnFree(p);
}

struct Replacement {
    const char *pszDll;
    const char *pszFunction;
    void **ppOriginal;
    void *pStandIn;
};

template <typename T> void **Slot(T &pfn)
{
    return reinterpret_cast<void **>(&pfn);
}

template <typename T> void *Address(T pfn)
{
    return reinterpret_cast<void *>(pfn);
}

const Replacement REPLACEMENTS[] = {
    {"kernel32.dll", "HeapAlloc", Slot(g_pfnHeapAlloc), Address(CountingHeapAlloc)},
    {"kernel32.dll", "HeapReAlloc", Slot(g_pfnHeapReAlloc), Address(CountingHeapReAlloc)},
    {"kernel32.dll", "HeapFree", Slot(g_pfnHeapFree), Address(CountingHeapFree)},
    {"msvcrt.dll", "malloc", Slot(g_pfnMalloc), Address(CountingMalloc)},
    {"msvcrt.dll", "calloc", Slot(g_pfnCalloc), Address(CountingCalloc)},
    {"msvcrt.dll", "realloc", Slot(g_pfnRealloc), Address(CountingRealloc)},
    {"msvcrt.dll", "free", Slot(g_pfnFree), Address(CountingFree)},
};

void WriteSlot(ULONG_PTR *pSlot, ULONG_PTR value)
{
    DWORD dwOld = 0;
    VirtualProtect(pSlot, sizeof(*pSlot), PAGE_READWRITE, &dwOld);
    *pSlot = value;
    VirtualProtect(pSlot, sizeof(*pSlot), dwOld, &dwOld);
}

// Calls visit(slot, replacement) for every import entry of the module that a replacement
// names.
template <typename TVisit> void ForEachAllocatorImport(HMODULE hModule, TVisit visit)
{
    const BYTE *pBase = reinterpret_cast<const BYTE *>(hModule);
    const auto *pDos = reinterpret_cast<const IMAGE_DOS_HEADER *>(pBase);
    const auto *pNt = reinterpret_cast<const IMAGE_NT_HEADERS *>(pBase + pDos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &imports = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0)
        return;
    for (const auto *pDll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(pBase + imports.VirtualAddress);
         pDll->Name != 0; ++pDll) {
        const char *pszDll = reinterpret_cast<const char *>(pBase + pDll->Name);
        const DWORD namesAt = pDll->OriginalFirstThunk ? pDll->OriginalFirstThunk : pDll->FirstThunk;
        const auto *pName = reinterpret_cast<const IMAGE_THUNK_DATA *>(pBase + namesAt);
        auto *pSlot = reinterpret_cast<ULONG_PTR *>(const_cast<BYTE *>(pBase) + pDll->FirstThunk);
        for (; pName->u1.AddressOfData != 0; ++pName, ++pSlot) {
            if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal))
                continue;
            const auto *pByName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME *>(pBase + pName->u1.AddressOfData);
            for (const Replacement &replacement : REPLACEMENTS) {
                if (lstrcmpiA(pszDll, replacement.pszDll) == 0 &&
                    std::strcmp(reinterpret_cast<const char *>(pByName->Name), replacement.pszFunction) == 0)
                    visit(pSlot, replacement);
            }
        }
    }
}
} // namespace

CFailingAllocator::CFailingAllocator(HMODULE hModule) : m_hModule(hModule)
{
    g_counters = Counters();
    ForEachAllocatorImport(hModule, [&](ULONG_PTR *pSlot, const Replacement &replacement) {
        *replacement.ppOriginal = reinterpret_cast<void *>(*pSlot);
        WriteSlot(pSlot, reinterpret_cast<ULONG_PTR>(replacement.pStandIn));
        ++m_nPatched;
    });
}

CFailingAllocator::~CFailingAllocator()
{
    ForEachAllocatorImport(m_hModule, [](ULONG_PTR *pSlot, const Replacement &replacement) {
        WriteSlot(pSlot, reinterpret_cast<ULONG_PTR>(*replacement.ppOriginal));
    });
}

void CFailingAllocator::Restart(unsigned int nFirstFailing, unsigned int nFailing)
{
    g_counters = Counters();
    g_counters.nFirstFailing = nFirstFailing;
    g_counters.nFailing = nFailing;
}

unsigned int CFailingAllocator::Allocations() const
{
    return g_counters.nAllocations;
}

long CFailingAllocator::LiveBlocks() const
{
    return g_counters.nLive;
}
