#include "framework/heap.h"

#include "framework/thread_slot.h"

namespace {
// Non-null while this thread's record says that memory ran out.
CThreadSlot g_outOfMemory;

void SetOutOfMemory(BOOL bOut)
{
    g_outOfMemory.Set(bOut ? &g_outOfMemory : nullptr);
}
} // namespace

void *AfxAllocMemory(size_t cb)
{
    void *p = HeapAlloc(GetProcessHeap(), 0, cb);
    if (!p)
        AfxNoteOutOfMemory();
    return p;
}

void AfxFreeMemory(void *p)
{
    if (p)
        HeapFree(GetProcessHeap(), 0, p);
}

BOOL AfxIsOutOfMemory()
{
    return !g_outOfMemory.IsReady() || g_outOfMemory.Get() != nullptr;
}

void AfxResetOutOfMemory()
{
    SetOutOfMemory(FALSE);
}

void AfxNoteOutOfMemory()
{
    SetOutOfMemory(TRUE);
}

COutOfMemoryScope::COutOfMemoryScope() : m_bOuter(AfxIsOutOfMemory())
{
    AfxResetOutOfMemory();
}

COutOfMemoryScope::~COutOfMemoryScope()
{
    SetOutOfMemory(m_bOuter);
}
