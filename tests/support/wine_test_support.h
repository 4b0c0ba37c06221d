// Helpers shared by the tests that run under Wine.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A message box seen and closed by MessageBoxCatcher.
struct CaughtBox {
    std::string strCaption;
    std::string strText;
    bool bHasCancel = false; // more than an OK button
    bool bHasIcon = false;
    bool bOtherWindowDisabled = false; // task-modal: the thread's other windows were disabled
};

// While alive, every message box opened on this thread is read and answered with
// m_nAnswer (a short timer on the box: at activation its text is still empty under Wine).
class MessageBoxCatcher {
public:
    MessageBoxCatcher();
    ~MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher &) = delete;
    MessageBoxCatcher &operator=(const MessageBoxCatcher &) = delete;

    std::vector<CaughtBox> m_boxes;
    int m_nAnswer = IDOK;

    HWND ProbeWindow() const { return m_hProbe; }

private:
    HHOOK m_hHook;
    HWND m_hProbe;
};

// Folder of the running test executable, with a trailing backslash.
std::string TestBinFolder();

// Runs a command line, waits, and returns its exit code; its standard output and error go to
// strOutput, less strStartLine, which the program writes first. -1 when it cannot start, or
// does not end within OPTINFO_CHILD_SECONDS (a minute when unset), with the reason in
// strOutput. A child that never wrote its start line is started once more, and
// PROCESS_RETRY_LINE on the error output says so.
int RunProcess(const std::string &strCommandLine, const std::string &strStartLine, std::string &strOutput);

// The start of the line that reports a retried start; the test summary counts them.
constexpr char PROCESS_RETRY_LINE[] = "process runner: started again: ";

// A number from the environment (decimal, or hexadecimal with 0x); nDefault when unset.
unsigned int NumberSetting(const char *pszName, unsigned int nDefault);

// The size of a test that measures scale only (cycles, random cases): NumberSetting's,
// divided by OPTINFO_SCALE_DIVISOR where a slow route sets it, but never below nAtLeast.
// Writes both numbers to the output when it runs smaller.
unsigned int ScaledCount(const char *pszName, unsigned int nDefault, unsigned int nAtLeast);

// Reads a whole file; empty when it does not exist.
std::string ReadFileText(const std::string &strPath);

// A path for a fresh scratch file of this test run, under the build's temp folder.
std::string ScratchPath(const std::string &strName);

// Sets a variable of this process's environment while alive; the value it had before, or
// its absence, comes back at the end.
class ScopedVariable {
public:
    ScopedVariable(const char *pszName, const std::string &strValue);
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable &) = delete;
    ScopedVariable &operator=(const ScopedVariable &) = delete;

    // The value of a variable; empty when it is not set.
    static std::string Value(const char *pszName);

private:
    std::string m_strName;
    std::string m_strPrevious;
    bool m_bWasSet;
};
