/* What optinfo.h takes from <windows.h>, as the Windows SDK defines it for the MSVC ABI.
 * MinGW-w64's windows.h needs GCC's predefined macros and intrinsics headers, which an
 * MSVC-target compile does not have. */
#pragma once
typedef long LONG;
typedef unsigned long DWORD;
typedef int BOOL;
typedef const char *LPCSTR;
#define WINAPI __stdcall
#define TRUE 1
#define FALSE 0
