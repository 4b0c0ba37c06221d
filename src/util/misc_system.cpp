// CMisc's helpers that ask Windows: the system's version and a list box's items. The byte
// and text helpers, which the parsers of printer data use, are in misc.cpp.
#include "util/misc.h"

#include "framework/list_box.h"
#include "framework/module.h"

VersionReaderFn g_pfnGetVersionEx = ::GetVersionExA;

namespace {
using GetProcessWindowStationFn = HWINSTA(WINAPI *)();
using GetUserObjectInformationFn = BOOL(WINAPI *)(HANDLE, int, PVOID, DWORD, LPDWORD);
} // namespace

BOOL CMisc::IsWindowStationVisible() const
{
    // Window stations are Windows NT's (the codes from SYSVER_NT_OTHER on): a stub of the 95
    // family's user32 is not asked.
    LONG code = SYSVER_WIN32S;
    if (!GetSystemVersion(&code) || code < SYSVER_NT_OTHER)
        return TRUE;
    // Looked up, so that the DLL still loads where user32 lacks window stations.
    const HMODULE hUser = GetModuleHandleA("user32.dll");
    GetProcessWindowStationFn pfnGetStation = nullptr;
    GetUserObjectInformationFn pfnGetInformation = nullptr;
    if (!hUser || !BindExport(hUser, "GetProcessWindowStation", pfnGetStation) ||
        !BindExport(hUser, "GetUserObjectInformationA", pfnGetInformation))
        return TRUE;
    HWINSTA hStation = pfnGetStation();
    USEROBJECTFLAGS flags = {};
    DWORD dwNeeded = 0;
    // A system that cannot say is taken at its word of old: one visible desktop.
    if (!hStation || !pfnGetInformation(hStation, UOI_FLAGS, &flags, sizeof(flags), &dwNeeded))
        return TRUE;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
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
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!g_pfnGetVersionEx(&info))
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
