// The few Windows types and calls that the parsers of printer data and the headers around
// them name, so that they build natively on Linux for fuzzing. Nothing here is meant to
// behave like Windows beyond what those files need.
#pragma once

#include <cstddef>
#include <cstdint>

#define WINAPI
#define TRUE 1
#define FALSE 0

typedef int BOOL;
typedef unsigned char BYTE;
typedef std::size_t SIZE_T;
typedef std::int32_t LONG;
typedef std::uint32_t DWORD;
typedef unsigned int UINT;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef void *LPVOID;
typedef void *HANDLE;

// Named by CMisc's declaration, read only by its system helpers, which are not built here.
typedef struct _OSVERSIONINFOA *LPOSVERSIONINFOA;

// The heap is the C library's (compat/windows.cpp).
HANDLE GetProcessHeap();
LPVOID HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T cb);
BOOL HeapFree(HANDLE hHeap, DWORD dwFlags, LPVOID p);

// Thread-local slots of one fuzzing thread, a handful (compat/windows.cpp).
#define TLS_OUT_OF_INDEXES ((DWORD)0xFFFFFFFF)
#define MAX_PATH 260
DWORD TlsAlloc();
BOOL TlsFree(DWORD dwIndex);
LPVOID TlsGetValue(DWORD dwIndex);
BOOL TlsSetValue(DWORD dwIndex, LPVOID pValue);
