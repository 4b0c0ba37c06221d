// Stateless helpers: byte-key search, hexadecimal text, system version classification and
// tab-separated list-box fields.
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

    // FALSE only where the system says that this process's window station is not visible (a
    // service, the spooler in session 0): a window there waits for a click that never comes.
    // The 95 family and Win32s have one visible desktop.
    BOOL IsWindowStationVisible() const;

    // The classification behind GetSystemVersion; false when the version has no code.
    static bool ClassifySystemVersion(DWORD dwPlatformId, DWORD dwMajor, DWORD dwMinor, LONG *pnCode);

    BOOL GetListBoxField(const CListBox &listBox, int nIndex, int nField, CString &strField) const;

    // Field nField (from 0) of a tab-separated text, stepping by multibyte characters; 0 when
    // there is none (the text unchanged) or memory ran out (the text empty).
    BOOL GetTabField(CString &strText, int nField) const;
};
