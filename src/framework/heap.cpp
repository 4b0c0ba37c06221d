#include "framework/heap.h"

#include "framework/call_context.h"

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
    return CCallContext::IsOutOfMemory();
}

void AfxResetOutOfMemory()
{
    CCallContext::SetOutOfMemory(FALSE);
}

void AfxNoteOutOfMemory()
{
    CCallContext::SetOutOfMemory(TRUE);
}
