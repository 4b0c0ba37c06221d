#include "framework/heap.h"

namespace {
// One call of the component at a time: overlapping calls from several threads are not
// supported, so one flag serves.
BOOL g_bOutOfMemory = FALSE;
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
    return g_bOutOfMemory;
}

void AfxResetOutOfMemory()
{
    g_bOutOfMemory = FALSE;
}

void AfxNoteOutOfMemory()
{
    g_bOutOfMemory = TRUE;
}
