// Shows the dialog of one language's DLL for scripts/screenshots.sh: in the stored state
// (options read from the virtual printer) or in the manual state after a settings-sheet
// request, then writes the dialog's screen rectangle to a file and keeps the dialog open
// until a release file appears.
//   dialog_screenshot_nt40.exe en|ja stored|manual READY_FILE RELEASE_FILE
#include "optinfo.h"

#include "common_ids.h"
#include "support/dialog_driver.h"
#include "support/record.h"
#include "support/wine_test_support.h"

#include <cstdio>
#include <string>

namespace {
const DWORD RELEASE_TIMEOUT_MS = 60000;

bool FileExists(const std::string &strPath)
{
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Keeps the dialog painting while the picture is taken.
void PumpUntil(const std::string &strReleaseFile)
{
    const DWORD dwStart = GetTickCount();
    while (!FileExists(strReleaseFile) && GetTickCount() - dwStart < RELEASE_TIMEOUT_MS) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
}

// Drawn as the user meets it: in front, with an active caption. Without a window manager
// Wine may open the dialog inactive, or active with its frame still drawn inactive.
void Activate(HWND hDlg)
{
    SetForegroundWindow(hDlg);
    SetActiveWindow(hDlg);
    SendMessageA(hDlg, WM_NCACTIVATE, TRUE, 0);
}

void WriteRectangle(HWND hDlg, const std::string &strReadyFile)
{
    RECT rect = {};
    GetWindowRect(hDlg, &rect);
    const std::string temporary = strReadyFile + ".tmp";
    if (FILE *pFile = std::fopen(temporary.c_str(), "w")) {
        std::fprintf(pFile, "%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left,
                     rect.top);
        std::fclose(pFile);
        MoveFileA(temporary.c_str(), strReadyFile.c_str());
    }
}
} // namespace

int main(int argc, char **argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: dialog_screenshot_nt40 en|ja stored|manual READY_FILE RELEASE_FILE\n");
        return 2;
    }
    const std::string language = argv[1];
    const bool bStored = std::string(argv[2]) == "stored";
    const std::string readyFile = argv[3];
    const std::string releaseFile = argv[4];

    const std::string dllPath = TestBinFolder() + "optinfo_" + language + ".dll";
    HMODULE hModule = LoadLibraryA(dllPath.c_str());
    if (!hModule) {
        std::fprintf(stderr, "cannot load %s\n", dllPath.c_str());
        return 2;
    }
    auto pfnOpen = reinterpret_cast<PFN_TKOpenPrinterInf>(
        reinterpret_cast<void (*)()>(GetProcAddress(hModule, "TKOpenPrinterInf")));

    // What a driver would hold before it knows the options.
    const OptionInfo current = Record({1, 6, 30, 30, 30, 30, 30, 30, 1, 0, 1, 0});
    OptionInfo output;
    DialogDriver driver([&](HWND hDlg) {
        if (!bStored) {
            SendDlgItemMessageA(hDlg, IDC_SETTINGS_SHEET, BM_CLICK, 0, 0);
            SendDlgItemMessageA(hDlg, IDC_PAPER_SOURCE, LB_SETCURSEL, 1, 0);
        }
        Activate(hDlg);
        RedrawWindow(hDlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        WriteRectangle(hDlg, readyFile);
        PumpUntil(releaseFile);
        EndDialog(hDlg, IDCANCEL);
    });
    LONG result = pfnOpen("RX-9100W", "RX-9100W", 0, &current, &output, TRUE, bStored);
    FreeLibrary(hModule);
    return driver.Ran() && (result == 1 || !bStored) ? 0 : 1;
}
