// CMisc's helpers that ask Windows: the system's version and a list box's items. The byte
// and text helpers, which the parsers of printer data use, are in misc.cpp.
#include "util/misc.h"

#include "framework/list_box.h"

VersionReaderFn g_pfnGetVersionEx = ::GetVersionExA;

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
