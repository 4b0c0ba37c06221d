// CMisc's helpers that ask Windows: the system's version and a list box's items. The byte
// and text helpers, which the parsers of printer data use, are in misc.cpp.
#include "util/misc.h"

#include "framework/list_box.h"

VersionReaderFn g_pfnGetVersionEx = ::GetVersionExA;

namespace {
using GetProcessWindowStationFn = HWINSTA(WINAPI *)();
using GetUserObjectInformationFn = BOOL(WINAPI *)(HANDLE, int, PVOID, DWORD, LPDWORD);

// Looked up, so that the DLL still loads where user32 lacks window stations. The detour
// through void (*)() keeps the cast from FARPROC free of a warning.
template <typename TFunction> TFunction UserFunction(LPCSTR pszName)
{
    HMODULE hUser = GetModuleHandleA("user32.dll");
    return hUser ? reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(GetProcAddress(hUser, pszName)))
                 : nullptr;
}
} // namespace

BOOL CMisc::IsWindowStationVisible() const
{
    // Window stations are Windows NT's (the codes from SYSVER_NT_OTHER on): a stub of the 95
    // family's user32 is not asked.
    LONG code = SYSVER_WIN32S;
    if (!GetSystemVersion(&code) || code < SYSVER_NT_OTHER)
        return TRUE;
    const auto pfnGetStation = UserFunction<GetProcessWindowStationFn>("GetProcessWindowStation");
    const auto pfnGetInformation = UserFunction<GetUserObjectInformationFn>("GetUserObjectInformationA");
    if (!pfnGetStation || !pfnGetInformation)
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
