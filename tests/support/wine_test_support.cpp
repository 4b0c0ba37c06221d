#include "support/wine_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {
thread_local MessageBoxCatcher *t_pCatcher = nullptr;

const int MSGBOX_TEXT_ID = 0xFFFF; // the message text control of a system message box
const UINT_PTR READ_TIMER_ID = 0x6F70;

std::string TextOf(HWND hWnd)
{
    char buffer[4096] = {};
    GetWindowTextA(hWnd, buffer, sizeof(buffer));
    return buffer;
}

bool HasIconChild(HWND hBox)
{
    for (HWND h = GetWindow(hBox, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if ((GetWindowLongA(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && SendMessageA(h, STM_GETICON, 0, 0))
            return true;
    }
    return false;
}

void CALLBACK ReadBox(HWND hBox, UINT, UINT_PTR idEvent, DWORD)
{
    KillTimer(hBox, idEvent);
    if (!t_pCatcher)
        return;
    CaughtBox box;
    box.strCaption = TextOf(hBox);
    box.strText = TextOf(GetDlgItem(hBox, MSGBOX_TEXT_ID));
    box.bHasCancel = GetDlgItem(hBox, IDCANCEL) != nullptr && IsWindowVisible(GetDlgItem(hBox, IDCANCEL));
    box.bHasIcon = HasIconChild(hBox);
    box.bOtherWindowDisabled = !IsWindowEnabled(t_pCatcher->ProbeWindow());
    t_pCatcher->m_boxes.push_back(box);
    PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(t_pCatcher->m_nAnswer, BN_CLICKED), 0);
}

LRESULT CALLBACK CbtProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HCBT_ACTIVATE) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(hWnd, className, sizeof(className));
        if (lstrcmpA(className, "#32770") == 0 && GetDlgItem(hWnd, MSGBOX_TEXT_ID))
            SetTimer(hWnd, READ_TIMER_ID, 20, ReadBox);
    }
    return CallNextHookEx(nullptr, nCode, wParam, lParam);
}
} // namespace

MessageBoxCatcher::MessageBoxCatcher()
    : m_hHook(SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId())),
      m_hProbe(CreateWindowExA(0, "STATIC", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr))
{
    t_pCatcher = this;
}

MessageBoxCatcher::~MessageBoxCatcher()
{
    t_pCatcher = nullptr;
    if (m_hHook)
        UnhookWindowsHookEx(m_hHook);
    if (m_hProbe)
        DestroyWindow(m_hProbe);
}

std::string TestBinFolder()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

namespace {
const DWORD DEFAULT_CHILD_SECONDS = 60;
const DWORD POLL_MS = 20;

enum ChildRun {
    CHILD_ENDED,       // the exit code is the program's
    CHILD_NOT_STARTED, // Wine refused the start, or the process hung before it wrote its start line
    CHILD_HUNG,        // it wrote its start line and then did not end: a fault of the program
};

// How long a child may run: the route's limit (a slower route gives more), else a minute.
DWORD ChildSeconds()
{
    const unsigned long ulSeconds =
        std::strtoul(ScopedVariable::Value("OPTINFO_CHILD_SECONDS").c_str(), nullptr, 10);
    return ulSeconds ? static_cast<DWORD>(ulSeconds) : DEFAULT_CHILD_SECONDS;
}

// Appends what the pipe holds now, without waiting for more.
void ReadAvailable(HANDLE hRead, std::string &strOutput)
{
    DWORD dwAvailable = 0;
    char buffer[4096];
    DWORD dwRead = 0;
    while (PeekNamedPipe(hRead, nullptr, 0, nullptr, &dwAvailable, nullptr) && dwAvailable > 0 &&
           ReadFile(hRead, buffer, sizeof(buffer), &dwRead, nullptr) && dwRead > 0)
        strOutput.append(buffer, dwRead);
}

// Takes the start line off the front of the output; false when the child never wrote it.
bool TakeStartLine(const std::string &strStartLine, std::string &strOutput)
{
    if (strOutput.compare(0, strStartLine.size(), strStartLine) != 0)
        return false;
    strOutput.erase(0, strStartLine.size());
    return true;
}

// The output ends with the child, not with the pipe: a process the child started may still
// hold the pipe's write end.
ChildRun RunChild(const std::string &strCommandLine, const std::string &strStartLine, std::string &strOutput,
                  DWORD &dwExitCode)
{
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE hRead = nullptr, hWrite = nullptr;
    if (!CreatePipe(&hRead, &hWrite, &inherit, 0)) {
        strOutput = "cannot make a pipe (error " + std::to_string(GetLastError()) + ")";
        return CHILD_NOT_STARTED;
    }
    SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = hWrite;
    startup.hStdError = hWrite;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    std::string commandLine = strCommandLine;
    const BOOL bStarted = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                         nullptr, &startup, &process);
    const DWORD dwStartError = GetLastError();
    CloseHandle(hWrite);
    if (!bStarted) {
        CloseHandle(hRead);
        strOutput = "cannot start (error " + std::to_string(dwStartError) + ")";
        return CHILD_NOT_STARTED;
    }
    const DWORD dwLimitMs = ChildSeconds() * 1000;
    DWORD dwWaited = 0;
    DWORD dwWait = WAIT_TIMEOUT;
    while ((dwWait = WaitForSingleObject(process.hProcess, POLL_MS)) == WAIT_TIMEOUT &&
           dwWaited < dwLimitMs) {
        ReadAvailable(hRead, strOutput);
        dwWaited += POLL_MS;
    }
    ReadAvailable(hRead, strOutput);
    CloseHandle(hRead);
    const bool bWroteStartLine = TakeStartLine(strStartLine, strOutput);
    ChildRun run = CHILD_ENDED;
    if (dwWait != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
        run = bWroteStartLine ? CHILD_HUNG : CHILD_NOT_STARTED;
        strOutput += "(did not end within " + std::to_string(dwLimitMs / 1000) + " s)";
    }
    GetExitCodeProcess(process.hProcess, &dwExitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return run;
}
} // namespace

// Under load, Wine now and then fails to start a process: CreateProcess fails, or the new one
// hangs before it runs. That says nothing about the program, so such a start is tried once
// more, and the retry is reported for the suite's summary. A program that wrote its start line
// runs once: a hang after it is a fault.
int RunProcess(const std::string &strCommandLine, const std::string &strStartLine, std::string &strOutput)
{
    const int ATTEMPTS = 2;
    for (int attempt = 1;; ++attempt) {
        strOutput.clear();
        DWORD dwExitCode = 0;
        const ChildRun run = RunChild(strCommandLine, strStartLine, strOutput, dwExitCode);
        if (run == CHILD_ENDED)
            return static_cast<int>(dwExitCode);
        if (run == CHILD_HUNG || attempt == ATTEMPTS)
            return -1;
        std::fprintf(stderr, "%s%s: %s\n", PROCESS_RETRY_LINE, strCommandLine.c_str(), strOutput.c_str());
    }
}

unsigned int NumberSetting(const char *pszName, unsigned int nDefault)
{
    const std::string value = ScopedVariable::Value(pszName);
    return value.empty() ? nDefault : static_cast<unsigned int>(std::strtoul(value.c_str(), nullptr, 0));
}

unsigned int ScaledCount(const char *pszName, unsigned int nDefault, unsigned int nAtLeast)
{
    const unsigned int nFull = NumberSetting(pszName, nDefault);
    const unsigned int nDivisor = NumberSetting("OPTINFO_SCALE_DIVISOR", 1);
    unsigned int nCount = nDivisor > 1 ? nFull / nDivisor : nFull;
    if (nCount < nAtLeast)
        nCount = nFull < nAtLeast ? nFull : nAtLeast;
    if (nCount != nFull)
        std::printf("%s: %u of %u (OPTINFO_SCALE_DIVISOR=%u: a slow route)\n", pszName, nCount, nFull,
                    nDivisor);
    return nCount;
}

std::string ReadFileText(const std::string &strPath)
{
    std::ifstream file(strPath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string ScratchPath(const std::string &strName)
{
    std::string folder = TestBinFolder() + "..\\scratch\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    // Copies of one test program run side by side (one per Windows version): each gets
    // its own files, named after the running program.
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string program = module;
    program = program.substr(program.find_last_of("\\/") + 1);
    program = program.substr(0, program.find_last_of('.'));
    std::string path = folder + program + "." + strName;
    DeleteFileA(path.c_str());
    return path;
}

ScopedVariable::ScopedVariable(const char *pszName, const std::string &strValue)
    : m_strName(pszName), m_strPrevious(Value(pszName)),
      m_bWasSet(GetEnvironmentVariableA(pszName, nullptr, 0) != 0)
{
    SetEnvironmentVariableA(pszName, strValue.c_str());
}

ScopedVariable::~ScopedVariable()
{
    SetEnvironmentVariableA(m_strName.c_str(), m_bWasSet ? m_strPrevious.c_str() : nullptr);
}

std::string ScopedVariable::Value(const char *pszName)
{
    const DWORD size = GetEnvironmentVariableA(pszName, nullptr, 0);
    std::string value(size, '\0');
    const DWORD length = size ? GetEnvironmentVariableA(pszName, &value[0], size) : 0;
    value.resize(length < size ? length : 0);
    return value;
}
