// CMisc's helpers that ask Windows: the system's version, whether a user can see the
// process's windows, and a list box's items. The byte and text helpers, which the parsers of
// printer data use, are in misc.cpp.
#include "util/misc.h"

#include "framework/list_box.h"
#include "framework/module.h"

VersionReaderFn g_pfnGetVersionEx = ::GetVersionExA;

namespace {
using GetProcessWindowStationFn = HWINSTA(WINAPI *)();
using GetUserObjectInformationFn = BOOL(WINAPI *)(HANDLE, int, PVOID, DWORD, LPDWORD);

// From Windows NT 6.0 on, session 0 is the services' alone: no user logs on to it.
const DWORD FIRST_MAJOR_VERSION_WITHOUT_USERS_IN_SESSION_0 = 6;

// Looked up, so that the DLL still loads where kernel32 lacks it (before 2000): there the
// session counts as unknown.
BOOL WINAPI ReadProcessSession(DWORD dwProcessId, DWORD *pdwSession)
{
    SessionReaderFn pfnRead = nullptr;
    return BindSystemExport("kernel32.dll", "ProcessIdToSessionId", pfnRead) &&
           pfnRead(dwProcessId, pdwSession);
}

bool ReadVersion(OSVERSIONINFOA &info)
{
    info = OSVERSIONINFOA();
    info.dwOSVersionInfoSize = sizeof(info);
    return g_pfnGetVersionEx(&info) != FALSE;
}

// The spooler is an interactive service: its station is session 0's WinSta0, which says it
// is visible, yet from NT 6.0 on nobody sees a window there.
bool IsInSessionWithoutUsers(const OSVERSIONINFOA &version)
{
    DWORD dwSession = 0;
    return version.dwMajorVersion >= FIRST_MAJOR_VERSION_WITHOUT_USERS_IN_SESSION_0 &&
           g_pfnProcessIdToSessionId(GetCurrentProcessId(), &dwSession) && dwSession == 0;
}

// A non-interactive service's own station is not visible, on every NT.
bool IsWindowStationVisible()
{
    // Looked up, so that the DLL still loads where user32 lacks window stations.
    GetProcessWindowStationFn pfnGetStation = nullptr;
    GetUserObjectInformationFn pfnGetInformation = nullptr;
    if (!BindSystemExport("user32.dll", "GetProcessWindowStation", pfnGetStation) ||
        !BindSystemExport("user32.dll", "GetUserObjectInformationA", pfnGetInformation))
        return true;
    HWINSTA hStation = pfnGetStation();
    USEROBJECTFLAGS flags = {};
    DWORD dwNeeded = 0;
    // A system that cannot say is taken at its word of old: one visible desktop.
    if (!hStation || !pfnGetInformation(hStation, UOI_FLAGS, &flags, sizeof(flags), &dwNeeded))
        return true;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}
} // namespace

SessionReaderFn g_pfnProcessIdToSessionId = ReadProcessSession;

BOOL CMisc::CanUserSeeWindows() const
{
    // Window stations and sessions are Windows NT's: a stub of the 95 family's user32 is not
    // asked.
    OSVERSIONINFOA version;
    if (!ReadVersion(version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return TRUE;
    return !IsInSessionWithoutUsers(version) && IsWindowStationVisible();
}

bool CMisc::ClassifySystemVersion(DWORD dwPlatformId, DWORD dwMajor, DWORD dwMinor, LONG *pnCode)
{
    LONG code;
    switch (dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        code = SYSVER_WIN32S;
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (dwMajor < 4)
            return false;
        code = (dwMajor == 4 && dwMinor == 0) ? SYSVER_WIN95 : SYSVER_WIN95_LATER;
        break;
    case VER_PLATFORM_WIN32_NT:
        if (dwMajor == 3 && dwMinor == 50)
            code = SYSVER_NT350;
        else if (dwMajor == 3 && dwMinor == 51)
            code = SYSVER_NT351;
        else if (dwMajor == 4 && dwMinor == 0)
            code = SYSVER_NT40;
        else
            code = SYSVER_NT_OTHER;
        break;
    default:
        return false;
    }
    *pnCode = code;
    return true;
}

BOOL CMisc::GetSystemVersion(LONG *pnCode) const
{
    if (!pnCode)
        return FALSE;
    OSVERSIONINFOA info;
    if (!ReadVersion(info))
        return FALSE;
    ClassifySystemVersion(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, pnCode);
    return TRUE;
}

BOOL CMisc::GetListBoxField(const CListBox &listBox, int nIndex, int nField, CString &strField) const
{
    if (nIndex < 0 || nIndex >= listBox.GetCount())
        return FALSE;
    if (!listBox.GetText(nIndex, strField))
        return FALSE;
    return GetTabField(strField, nField);
}
