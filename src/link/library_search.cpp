#include "link/library_search.h"

#include "framework/app.h"
#include "framework/mbcs.h"
#include "framework/module.h"
#include "link/zrapi_types.h"

namespace {
const char SIXTEEN_BIT_SYSTEM_FOLDER[] = "SYSTEM";

bool EndsWithSeparator(const char *pText, UINT cch)
{
    return cch != 0 && LengthThroughLastSeparator(pText, cch) == cch;
}

// Writes folder, separator and name as one path with backslashes only, which the loader
// asks for. Returns its length, or 0 when it does not fit.
UINT JoinPath(const char *pFolder, UINT cchFolder, const char *pName, UINT cchName, char (&szPath)[MAX_PATH])
{
    const UINT cchSeparator = EndsWithSeparator(pFolder, cchFolder) ? 0 : 1;
    const UINT cch = cchFolder + cchSeparator + cchName;
    if (cch >= MAX_PATH)
        return 0;
    // A slash is never the second byte of a double-byte character: bytes can be replaced.
    for (UINT i = 0; i < cchFolder; ++i)
        szPath[i] = pFolder[i] == '/' ? '\\' : pFolder[i];
    if (cchSeparator != 0)
        szPath[cchFolder] = '\\';
    for (UINT i = 0; i < cchName; ++i)
        szPath[cchFolder + cchSeparator + i] = pName[i];
    szPath[cch] = '\0';
    return cch;
}

bool IsFile(LPCSTR pszPath)
{
    const DWORD dwAttributes = GetFileAttributesA(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The system calls report the length needed when the buffer is too small.
UINT LengthIfItFits(UINT cch)
{
    return cch < MAX_PATH ? cch : 0;
}

using WindowsFolderReaderFn = UINT(WINAPI *)(LPSTR, UINT);

// Each writes one folder to szFolder and returns its length: 0 when there is none that fits.
typedef UINT (*FolderOfSystem)(char (&szFolder)[MAX_PATH]);

UINT ProgramFolder(char (&szFolder)[MAX_PATH])
{
    const UINT cch = LengthIfItFits(GetModuleFileNameA(nullptr, szFolder, MAX_PATH));
    return LengthThroughLastSeparator(szFolder, cch);
}

UINT ComponentFolder(char (&szFolder)[MAX_PATH])
{
    int nName = 0;
    int nExtension = 0;
    return AfxGetModulePath(szFolder, nName, nExtension) ? static_cast<UINT>(nName) : 0;
}

UINT SystemFolder(char (&szFolder)[MAX_PATH])
{
    return LengthIfItFits(GetSystemDirectoryA(szFolder, MAX_PATH));
}

// On a Terminal Server in application mode, GetWindowsDirectoryA gives a program that is not
// written for it the user's private Windows folder, in the user's profile. The system's own
// comes from GetSystemWindowsDirectoryA, where kernel32 has it (2000 and later, and NT 4.0
// Terminal Server); elsewhere the two are the same folder.
UINT WindowsFolder(char (&szFolder)[MAX_PATH])
{
    WindowsFolderReaderFn pfnRead = nullptr;
    if (!BindSystemExport("kernel32.dll", "GetSystemWindowsDirectoryA", pfnRead))
        pfnRead = GetWindowsDirectoryA;
    return LengthIfItFits(pfnRead(szFolder, MAX_PATH));
}

UINT SixteenBitSystemFolder(char (&szFolder)[MAX_PATH])
{
    char windows[MAX_PATH];
    const UINT cch = WindowsFolder(windows);
    return cch == 0 ? 0
                    : JoinPath(windows, cch, SIXTEEN_BIT_SYSTEM_FOLDER, sizeof(SIXTEEN_BIT_SYSTEM_FOLDER) - 1,
                               szFolder);
}

// The system's order without the current folder and PATH, and with the component's own
// folder, where a driver package installs its files.
const FolderOfSystem SEARCHED_FOLDERS[] = {ProgramFolder, ComponentFolder, SystemFolder,
                                           SixteenBitSystemFolder, WindowsFolder};
} // namespace

BOOL BidiLibraryPathIn(const char *pFolder, UINT cchFolder, char (&szPath)[MAX_PATH])
{
    return cchFolder != 0 &&
           JoinPath(pFolder, cchFolder, ZRAPI_FILE_NAME, sizeof(ZRAPI_FILE_NAME) - 1, szPath) != 0;
}

BOOL FindBidiLibrary(char (&szPath)[MAX_PATH])
{
    char folder[MAX_PATH];
    for (FolderOfSystem folderOf : SEARCHED_FOLDERS) {
        const UINT cchFolder = folderOf(folder);
        if (BidiLibraryPathIn(folder, cchFolder, szPath) && IsFile(szPath))
            return TRUE;
    }
    szPath[0] = '\0';
    return FALSE;
}
