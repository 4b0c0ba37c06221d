#include "support/file_printer.h"

#include "support/wine_test_support.h"

#include <windows.h>
#include <winspool.h>

namespace {
char DRIVER_NAME[] = "Wine PostScript Driver";
char DRIVER_FILE[] = "wineps.drv";
char PRINT_PROCESSOR[] = "WinPrint";
char DATA_TYPE[] = "RAW";
const char PROCESSOR_FILE[] = "winprint.dll";

// Wine's spooler writes a job to a port that is a Unix file path.
std::string UnixPath(const std::string &strWindowsPath)
{
    using UnixNameFn = char *(CDECL *)(LPCWSTR);
    auto pfnUnixName = reinterpret_cast<UnixNameFn>(reinterpret_cast<void *>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    WCHAR wide[MAX_PATH] = {};
    if (!pfnUnixName || !MultiByteToWideChar(CP_ACP, 0, strWindowsPath.c_str(), -1, wide, MAX_PATH))
        return {};
    char *pszUnix = pfnUnixName(wide);
    if (!pszUnix)
        return {};
    std::string strUnix = pszUnix;
    HeapFree(GetProcessHeap(), 0, pszUnix);
    return strUnix;
}

bool InstallDriver()
{
    DRIVER_INFO_3A driver = {};
    driver.cVersion = 3;
    driver.pName = DRIVER_NAME;
    driver.pDriverPath = DRIVER_FILE;
    driver.pDataFile = DRIVER_FILE;
    driver.pConfigFile = DRIVER_FILE;
    return AddPrinterDriverA(nullptr, 3, reinterpret_cast<LPBYTE>(&driver)) ||
           GetLastError() == ERROR_PRINTER_DRIVER_ALREADY_INSTALLED;
}

bool InstallPrinter(const std::string &strName, const std::string &strPort)
{
    std::string name = strName, port = strPort;
    PRINTER_INFO_2A printer = {};
    printer.pPrinterName = &name[0];
    printer.pPortName = &port[0];
    printer.pDriverName = DRIVER_NAME;
    printer.pPrintProcessor = PRINT_PROCESSOR;
    printer.pDatatype = DATA_TYPE;
    printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE hPrinter = AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(&printer));
    if (!hPrinter)
        return GetLastError() == ERROR_PRINTER_ALREADY_EXISTS;
    ClosePrinter(hPrinter);
    return true;
}

// Wine posing as Windows 95 looks for the print processor in the Windows 4.0 folder,
// which a fresh prefix leaves empty: it gets a copy of the native one.
bool ProvidePrintProcessor()
{
#ifdef _WIN64
    char nativeEnvironment[] = "Windows x64";
#else
    char nativeEnvironment[] = "Windows NT x86";
#endif
    char folder[MAX_PATH] = {}, nativeFolder[MAX_PATH] = {};
    DWORD cbNeeded = 0;
    if (!GetPrintProcessorDirectoryA(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(folder), sizeof(folder),
                                     &cbNeeded) ||
        !GetPrintProcessorDirectoryA(nullptr, nativeEnvironment, 1, reinterpret_cast<LPBYTE>(nativeFolder),
                                     sizeof(nativeFolder), &cbNeeded))
        return false;
    const std::string strTarget = std::string(folder) + "\\" + PROCESSOR_FILE;
    if (GetFileAttributesA(strTarget.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    CreateDirectoryA(folder, nullptr);
    const std::string strSource = std::string(nativeFolder) + "\\" + PROCESSOR_FILE;
    return CopyFileA(strSource.c_str(), strTarget.c_str(), TRUE) || GetLastError() == ERROR_FILE_EXISTS;
}

std::string ExecutableName()
{
    char path[MAX_PATH] = {};
    std::string strName(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    strName.erase(0, strName.find_last_of("\\/") + 1);
    return strName.substr(0, strName.rfind('.'));
}
} // namespace

CFilePrinter::CFilePrinter(const std::string &strPrefix) : m_strName(strPrefix + " " + ExecutableName())
{
    char full[MAX_PATH] = {};
    GetFullPathNameA(ScratchPath(m_strName + ".prn").c_str(), MAX_PATH, full, nullptr);
    m_strPortFile = full;
    const std::string strPort = UnixPath(m_strPortFile);
    m_bReady =
        !strPort.empty() && InstallDriver() && ProvidePrintProcessor() && InstallPrinter(m_strName, strPort);
}

std::string CFilePrinter::TakeOutput()
{
    std::string strOutput = ReadFileText(m_strPortFile);
    DeleteFileA(m_strPortFile.c_str());
    return strOutput;
}
