#include "link/library_search.h"

#include "framework/mbcs.h"
#include "link/zrapi_types.h"

namespace {
const char SIXTEEN_BIT_SYSTEM_FOLDER[] = "SYSTEM";
const char PATH_VARIABLE[] = "PATH";
// The longest value that a variable of the environment is documented to hold, and its end.
const DWORD PATH_VALUE_SIZE = 32768;

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c)
{
    const char lower = static_cast<char>(c | 0x20);
    return lower >= 'a' && lower <= 'z';
}

// Steps by characters: the second byte of a double-byte character may be a backslash.
UINT LengthThroughLastSeparator(const char *pText, UINT cch)
{
    const char *const pEnd = pText + cch;
    UINT cchThrough = 0;
    for (const char *p = pText; p < pEnd; p = NextChar(p, pEnd)) {
        if (IsSeparator(*p))
            cchThrough = static_cast<UINT>(p - pText) + 1;
    }
    return cchThrough;
}

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

bool FindInFolder(const char *pFolder, UINT cchFolder, char (&szPath)[MAX_PATH])
{
    return cchFolder != 0 &&
           JoinPath(pFolder, cchFolder, ZRAPI_FILE_NAME, sizeof(ZRAPI_FILE_NAME) - 1, szPath) != 0 &&
           IsFile(szPath);
}

// The system calls report the length needed when the buffer is too small.
UINT LengthIfItFits(UINT cch)
{
    return cch < MAX_PATH ? cch : 0;
}

// Each writes one folder to szFolder and returns its length: 0 when there is none that fits.
typedef UINT (*FolderOfSystem)(char (&szFolder)[MAX_PATH]);

UINT ProgramFolder(char (&szFolder)[MAX_PATH])
{
    const UINT cch = LengthIfItFits(GetModuleFileNameA(nullptr, szFolder, MAX_PATH));
    return LengthThroughLastSeparator(szFolder, cch);
}

UINT SystemFolder(char (&szFolder)[MAX_PATH])
{
    return LengthIfItFits(GetSystemDirectoryA(szFolder, MAX_PATH));
}

UINT WindowsFolder(char (&szFolder)[MAX_PATH])
{
    return LengthIfItFits(GetWindowsDirectoryA(szFolder, MAX_PATH));
}

UINT SixteenBitSystemFolder(char (&szFolder)[MAX_PATH])
{
    char windows[MAX_PATH];
    const UINT cch = WindowsFolder(windows);
    return cch == 0 ? 0
                    : JoinPath(windows, cch, SIXTEEN_BIT_SYSTEM_FOLDER, sizeof(SIXTEEN_BIT_SYSTEM_FOLDER) - 1,
                               szFolder);
}

// The system's order without the current folder, which it would look in second.
const FolderOfSystem SYSTEM_FOLDERS[] = {ProgramFolder, SystemFolder, SixteenBitSystemFolder, WindowsFolder};

// A drive's root ("C:\...") or a network name ("\\server\share"): anything else depends on
// the current folder or the current drive.
bool IsAbsoluteFolder(const char *pFolder, UINT cch)
{
    const bool bFromDrive =
        cch >= 3 && IsAsciiLetter(pFolder[0]) && pFolder[1] == ':' && IsSeparator(pFolder[2]);
    const bool bFromNetwork = cch >= 3 && IsSeparator(pFolder[0]) && IsSeparator(pFolder[1]);
    return bFromDrive || bFromNetwork;
}

// The entries of PATH one by one. Quotes group a folder that holds a semicolon and are no
// part of it. Neither character is ever the second byte of a double-byte character.
class CPathEntries {
public:
    CPathEntries(const char *pValue, DWORD cchValue) : m_pValue(pValue), m_cchValue(cchValue) {}

    // false after the last entry. An entry too long for a path comes back empty.
    bool Next(char (&szFolder)[MAX_PATH], UINT &cchFolder)
    {
        if (m_nNext > m_cchValue)
            return false;
        cchFolder = 0;
        bool bQuoted = false;
        bool bFits = true;
        for (; m_nNext < m_cchValue && (bQuoted || m_pValue[m_nNext] != ';'); ++m_nNext) {
            const char c = m_pValue[m_nNext];
            if (c == '"')
                bQuoted = !bQuoted;
            else if (cchFolder < MAX_PATH - 1)
                szFolder[cchFolder++] = c;
            else
                bFits = false;
        }
        ++m_nNext; // past the semicolon, or past the end after the last entry
        if (!bFits)
            cchFolder = 0;
        return true;
    }

private:
    const char *m_pValue;
    DWORD m_cchValue;
    DWORD m_nNext = 0;
};

bool FindOnPath(char (&szPath)[MAX_PATH])
{
    char value[PATH_VALUE_SIZE];
    const DWORD cchValue = GetEnvironmentVariableA(PATH_VARIABLE, value, PATH_VALUE_SIZE);
    if (cchValue == 0 || cchValue >= PATH_VALUE_SIZE)
        return false; // no PATH, or one longer than the system reads
    CPathEntries entries(value, cchValue);
    char folder[MAX_PATH];
    UINT cchFolder = 0;
    while (entries.Next(folder, cchFolder)) {
        if (IsAbsoluteFolder(folder, cchFolder) && FindInFolder(folder, cchFolder, szPath))
            return true;
    }
    return false;
}
} // namespace

BOOL FindBidiLibrary(char (&szPath)[MAX_PATH])
{
    char folder[MAX_PATH];
    for (FolderOfSystem folderOf : SYSTEM_FOLDERS) {
        const UINT cchFolder = folderOf(folder);
        if (FindInFolder(folder, cchFolder, szPath))
            return TRUE;
    }
    return FindOnPath(szPath);
}
