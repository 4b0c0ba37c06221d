// Stateless helpers: byte-key search, hexadecimal text, system version classification,
// whether a user can see the process's windows, and tab-separated list-box fields.
#pragma once

#include "framework/string.h"

class CListBox;

// System version codes returned by CMisc::GetSystemVersion.
enum SystemVersionCode : LONG {
    SYSVER_WIN32S = 0,
    SYSVER_WIN95 = 1,
    SYSVER_WIN95_LATER = 2,
    SYSVER_NT_OTHER = 3,
    SYSVER_NT350 = 4,
    SYSVER_NT351 = 5,
    SYSVER_NT40 = 6,
};

// GetVersionExA is reached through this pointer so that tests can pose as any system,
// including those that no test machine runs (Win32s, NT 3.5).
using VersionReaderFn = BOOL(WINAPI *)(LPOSVERSIONINFOA);
extern VersionReaderFn g_pfnGetVersionEx;

// ProcessIdToSessionId, where kernel32 exports it, is reached through this pointer so that
// tests can pose as a process in any session; FALSE where the session cannot be read.
using SessionReaderFn = BOOL(WINAPI *)(DWORD, DWORD *);
extern SessionReaderFn g_pfnProcessIdToSessionId;

class CMisc {
public:
    virtual ~CMisc() = default;

    // First occurrence of the key in the bytes; a key ending exactly at the end of the
    // bytes is not found.
    BOOL FindKey(const BYTE *pBytes, LONG nCount, const BYTE *pKey, LONG nKeyLength,
                 const BYTE **ppFound) const;

    // 1 to 8 hexadecimal digits, either case; nothing else.
    BOOL HexToInt(LPCSTR pszText, LONG *pnValue) const;

    // Returns 1 also when the running system has no code; *pnCode is then left alone.
    BOOL GetSystemVersion(LONG *pnCode) const;

    // FALSE only where no user can see this process's windows: a window there waits for a
    // click that never comes. That is a window station that the system calls not visible (a
    // non-interactive service's, on every NT), and session 0 from NT 6.0 on (the spooler and
    // every other service). Where the session cannot be read, it does not count. The 95
    // family and Win32s have one visible desktop.
    BOOL CanUserSeeWindows() const;

    // The classification behind GetSystemVersion; false when the version has no code.
    static bool ClassifySystemVersion(DWORD dwPlatformId, DWORD dwMajor, DWORD dwMinor, LONG *pnCode);

    BOOL GetListBoxField(const CListBox &listBox, int nIndex, int nField, CString &strField) const;

    // Field nField (from 0) of a tab-separated text, stepping by multibyte characters; 0 when
    // there is none (the text unchanged) or memory ran out (the text empty).
    BOOL GetTabField(CString &strText, int nField) const;
};
