// optinfo-host: stands in for a printer driver's user interface. Loads one language's
// DLL from its own folder, calls TKOpenPrinterInf and prints what came back.
#include "host_args.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {
const int EXIT_CALL_SUCCEEDED = 0;
const int EXIT_CALL_FAILED = 1;
const int EXIT_USAGE = 2;

const char *const FIELD_NAMES[] = {
    "bHasPrinterId", "nPrinterIdCount", "nPrinterId0", "nPrinterId1", "nPrinterId2",     "nPrinterId3",
    "nPrinterId4",   "nPrinterId5",     "bHasMemory",  "nMemoryMB",   "bHasPaperSource", "nPaperSource",
};

std::string OwnFolder()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    std::string::size_type slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

// A canary in the output record tells a field the call did not write.
void PrintRecord(LONG result, const OptionInfo &output, const OptionInfo &canary)
{
    std::printf("result %ld\n", static_cast<long>(result));
    const LONG *pOut = reinterpret_cast<const LONG *>(&output);
    const bool untouched = std::memcmp(&output, &canary, sizeof(output)) == 0;
    for (int i = 0; i < static_cast<int>(sizeof(FIELD_NAMES) / sizeof(FIELD_NAMES[0])); ++i) {
        if (untouched)
            std::printf("%s untouched\n", FIELD_NAMES[i]);
        else
            std::printf("%s %ld\n", FIELD_NAMES[i], static_cast<long>(pOut[i]));
    }
}
} // namespace

int main(int argc, char **argv)
{
    // Plain "\n" line ends, so that scripts on either side of Wine read the same lines.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    HostArgs args;
    std::string error;
    if (!ParseHostArgs(argc, argv, args, error)) {
        std::fprintf(stderr, "optinfo-host: %s\n%s", error.c_str(), HOST_USAGE);
        return EXIT_USAGE;
    }
    std::fputs(HOST_START_LINE, stderr);
    std::fflush(stderr);
    std::string dllPath = OwnFolder() + "optinfo_" + args.strLanguage + ".dll";
    HMODULE hModule = LoadLibraryA(dllPath.c_str());
    if (!hModule) {
        std::fprintf(stderr, "optinfo-host: cannot load %s (error %lu)\n", dllPath.c_str(), GetLastError());
        return EXIT_USAGE;
    }
    auto pfnOpen = reinterpret_cast<PFN_TKOpenPrinterInf>(
        reinterpret_cast<void (*)()>(GetProcAddress(hModule, "TKOpenPrinterInf")));
    if (!pfnOpen) {
        std::fprintf(stderr, "optinfo-host: %s does not export TKOpenPrinterInf\n", dllPath.c_str());
        FreeLibrary(hModule);
        return EXIT_USAGE;
    }
    OptionInfo canary;
    std::memset(static_cast<void *>(&canary), 0xA5, sizeof(canary));
    OptionInfo output = canary;
    LONG result =
        pfnOpen(args.strPrinter.c_str(), args.strModel.c_str(), args.dwReserved,
                args.bHasInput ? &args.input : nullptr, &output, args.bShowDialog, args.bQueryPrinter);
    PrintRecord(result, output, canary);
    FreeLibrary(hModule);
    return result == 1 ? EXIT_CALL_SUCCEEDED : EXIT_CALL_FAILED;
}
