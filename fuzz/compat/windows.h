// The few Windows types, constants and calls that the parsers of printer data and the
// headers around them name, so that they build natively on Linux for fuzzing. Nothing
// here is meant to behave like Windows beyond what those files need; calls that only
// make sense on Windows are declared here and stood in for in compat/stubs.cpp.
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
typedef std::uint32_t ULONG;
typedef std::uint32_t DWORD;
typedef unsigned int UINT;
typedef char CHAR;
typedef char *LPSTR;
typedef const char *LPCSTR;
typedef void *LPVOID;
typedef void *HANDLE;
typedef std::uintptr_t ULONG_PTR;
typedef std::uintptr_t DWORD_PTR;

typedef struct HWND__ *HWND;
typedef struct HINSTANCE__ *HINSTANCE;
typedef HINSTANCE HMODULE;
typedef std::intptr_t(WINAPI *FARPROC)();

#define MAX_PATH 260

#define MB_ICONHAND 0x00000010L
#define MB_SETFOREGROUND 0x00010000L

#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2

typedef struct _OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
} OSVERSIONINFOA, *LPOSVERSIONINFOA;

// No system version and no library exist on this side; GetVersionExA reports failure and
// GetProcAddress is named by a header but never called by the parsing files. The heap is
// the C library's, and the only string resource is the error caption.
BOOL GetVersionExA(LPOSVERSIONINFOA pInfo);
FARPROC GetProcAddress(HMODULE hModule, LPCSTR pszName);
HANDLE GetProcessHeap();
LPVOID HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T cb);
BOOL HeapFree(HANDLE hHeap, DWORD dwFlags, LPVOID p);
int LoadStringA(HINSTANCE hInstance, UINT nId, LPSTR pBuffer, int nBufferSize);
