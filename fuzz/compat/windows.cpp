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
