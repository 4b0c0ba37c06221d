#include "support/failing_allocator.h"

namespace {
struct Counters {
    unsigned int nAllocations = 0;
    unsigned int nFirstFailing = 0;
    unsigned int nFailing = 0;
    long nLive = 0;
};
thread_local Counters t_counters;

// Counts one allocation asked for; false when it is to fail.
bool Admit()
{
    const unsigned int n = ++t_counters.nAllocations;
    return t_counters.nFirstFailing == 0 || n < t_counters.nFirstFailing ||
           n - t_counters.nFirstFailing >= t_counters.nFailing;
}

void *Handed(void *p)
{
    t_counters.nLive += p ? 1 : 0;
    return p;
}

void Freed(void *p)
{
    t_counters.nLive -= p ? 1 : 0;
}

LPVOID WINAPI CountingHeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T cb)
{
    return Admit() ? Handed(::HeapAlloc(hHeap, dwFlags, cb)) : nullptr;
}

// A reallocation keeps its block; a failed one leaves it as it was.
LPVOID WINAPI CountingHeapReAlloc(HANDLE hHeap, DWORD dwFlags, LPVOID p, SIZE_T cb)
{
    return Admit() ? ::HeapReAlloc(hHeap, dwFlags, p, cb) : nullptr;
}

BOOL WINAPI CountingHeapFree(HANDLE hHeap, DWORD dwFlags, LPVOID p)
{
    Freed(p);
    return ::HeapFree(hHeap, dwFlags, p);
}

struct Replacement {
    const char *pszDll;
    const char *pszFunction;
    void *pStandIn;
};

template <typename T> void *Address(T pfn)
{
    return reinterpret_cast<void *>(pfn);
}

const Replacement REPLACEMENTS[] = {
    {"kernel32.dll", "HeapAlloc", Address(CountingHeapAlloc)},
    {"kernel32.dll", "HeapReAlloc", Address(CountingHeapReAlloc)},
    {"kernel32.dll", "HeapFree", Address(CountingHeapFree)},
};
} // namespace

CFailingAllocator::CFailingAllocator(HMODULE hModule)
{
    t_counters = Counters();
    for (const Replacement &replacement : REPLACEMENTS) {
        auto pPatch = std::make_unique<ImportPatch>(hModule, replacement.pszDll, replacement.pszFunction,
                                                    replacement.pStandIn);
        if (pPatch->Patched())
            m_patches.push_back(std::move(pPatch));
    }
}

void CFailingAllocator::Restart(unsigned int nFirstFailing, unsigned int nFailing)
{
    t_counters = Counters();
    t_counters.nFirstFailing = nFirstFailing;
    t_counters.nFailing = nFailing;
}

unsigned int CFailingAllocator::Allocations() const
{
    return t_counters.nAllocations;
}

long CFailingAllocator::LiveBlocks() const
{
    return t_counters.nLive;
}
