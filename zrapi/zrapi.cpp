// The virtual printer: ZRAPI.DLL's twelve functions answered from a scenario, every call
// written to a log. State lives per load of the library: each process attach reads the
// scenario and log path afresh and starts the call counters at zero. Calls from several
// threads are taken one at a time, each with its whole log line. It is held in fixed
// tables and nothing of the C++ runtime is used, so that a load takes nothing from the
// process that its free does not give back.
#include "scenario.h"
#include "scenario_text.h"

#include "zrapi_default_scenario.h"

#include <windows.h>

#include <string.h>

using namespace zrapi;

namespace {
// Results of the virtual printer's own refusals. -4 and -13 are left to the scenario, as
// they have a meaning of their own for the caller.
const LONG ZR_OK = 0;
const LONG ZR_ERR_NOT_STARTED = -1;   // no start is active
const LONG ZR_ERR_BAD_ARGUMENT = -2;  // null size pointer or unknown channel handle
const LONG ZR_ERR_NO_CHANNEL = -3;    // key not in the table, or not available
const LONG ZR_ERR_NOT_SUPPORTED = -5; // the functions that the component never calls
const LONG ZR_NOT_STARTED = -13;

const char SCENARIO_VARIABLE[] = "ZRAPI_SCENARIO";
const char LOG_VARIABLE[] = "ZRAPI_LOG";
// Room for a variable's value and its zero.
const DWORD VALUE_CAPACITY = MAX_PATH * 2;
// Channels open at once; one more is refused as not available.
const LONG MAX_OPEN_CHANNELS = 256;

struct OpenChannel {
    LONG nHandle;
    DWORD dwKey;
};

class CVirtualPrinter {
public:
    // False when the scenario cannot be used; the reason is logged.
    bool Load();
    void Unload() const;

    void WriteLog(const CText &line) const;

    // The new channel's handle, or ZR_ERR_NO_CHANNEL when no more can be open.
    LONG Open(DWORD dwKey);
    const OpenChannel *Find(LONG nHandle) const;
    bool Close(LONG nHandle);

    CScenario m_scenario;
    char m_szLogPath[VALUE_CAPACITY] = {};
    LONG m_nCalls[FUNCTION_COUNT] = {};
    LONG m_nStarts = 0;
    LONG m_nNextHandle = 0;
    OpenChannel m_open[MAX_OPEN_CHANNELS] = {};
    LONG m_nOpen = 0;

private:
    bool ParseScenario(const char *pszPath, CText &error);
};

CVirtualPrinter g_printer;

// Made at the attach and deleted at the detach of the process.
CRITICAL_SECTION g_callLock;
// Calls that have entered an export and not yet left it, waiting ones included.
LONG g_nCallsInside = 0;

// A scenario file's text, with room for one byte beyond the largest scenario so that a
// larger file is refused rather than cut short.
char g_scenarioText[MAX_SCENARIO_BYTES + 1];

// The variable's value, empty when it is unset; false, with the reason added to error,
// when it is too long to use.
bool Variable(const char *pszName, char (&value)[VALUE_CAPACITY], CText &error)
{
    const DWORD length = GetEnvironmentVariableA(pszName, value, VALUE_CAPACITY);
    if (length < VALUE_CAPACITY) {
        value[length] = '\0';
        return true;
    }
    value[0] = '\0';
    error.Add(pszName).Add(" is longer than ").AddNumber(VALUE_CAPACITY - 1).Add(" characters");
    return false;
}

// Reads the file into g_scenarioText; false when it cannot be opened.
bool ReadScenarioFile(const char *pszPath, size_t &nLength)
{
    HANDLE hFile = CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    nLength = 0;
    DWORD read = 0;
    while (nLength < sizeof(g_scenarioText) &&
           ReadFile(hFile, g_scenarioText + nLength, static_cast<DWORD>(sizeof(g_scenarioText) - nLength),
                    &read, nullptr) &&
           read > 0)
        nLength += read;
    CloseHandle(hFile);
    return true;
}

CText &AddQuotedText(CText &text, const char *pszText)
{
    return text.AddQuoted(pszText, strlen(pszText));
}

bool CVirtualPrinter::Load()
{
    memset(m_nCalls, 0, sizeof(m_nCalls));
    m_nStarts = m_nNextHandle = m_nOpen = 0;
    char path[VALUE_CAPACITY] = "";
    CText error;
    if (Variable(LOG_VARIABLE, m_szLogPath, error) && Variable(SCENARIO_VARIABLE, path, error))
        ParseScenario(path, error);
    CText line;
    if (error.Length() > 0) {
        WriteLog(line.Add("load error=").AddQuoted(error.Data(), error.Length()));
        return false;
    }
    line.Add("load scenario=");
    WriteLog(path[0] ? AddQuotedText(line, path) : line.Add("default"));
    return true;
}

// The scenario of the file at the path, or the default one for an empty path; false, with
// the reason added to error, when it cannot be used.
bool CVirtualPrinter::ParseScenario(const char *pszPath, CText &error)
{
    const char *pText = ZRAPI_DEFAULT_SCENARIO;
    size_t length = sizeof(ZRAPI_DEFAULT_SCENARIO) - 1;
    if (pszPath[0]) {
        if (!ReadScenarioFile(pszPath, length)) {
            error.Add("cannot read ").Add(pszPath);
            return false;
        }
        pText = g_scenarioText;
    }
    CText reason;
    if (m_scenario.Parse(pText, length, reason))
        return true;
    error.Add(pszPath[0] ? pszPath : "default scenario").Add(" ").Add(reason);
    return false;
}

// Reports what the caller left behind: starts without a release and channels not closed.
void CVirtualPrinter::Unload() const
{
    CText line;
    WriteLog(line.Add("unload starts=").AddNumber(m_nStarts).Add(" channels=").AddNumber(m_nOpen));
}

// One line per open-append-close, so that a crash loses nothing already written.
void CVirtualPrinter::WriteLog(const CText &line) const
{
    if (!m_szLogPath[0])
        return;
    HANDLE hFile = CreateFileA(m_szLogPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    // One write for the line and its end, so that lines of two processes do not mix.
    char text[CText::CAPACITY + 2];
    memcpy(text, line.Data(), line.Length());
    memcpy(text + line.Length(), "\r\n", 2);
    DWORD written = 0;
    WriteFile(hFile, text, static_cast<DWORD>(line.Length() + 2), &written, nullptr);
    CloseHandle(hFile);
}

LONG CVirtualPrinter::Open(DWORD dwKey)
{
    if (m_nOpen == MAX_OPEN_CHANNELS)
        return ZR_ERR_NO_CHANNEL;
    m_open[m_nOpen++] = {m_nNextHandle, dwKey};
    return m_nNextHandle++;
}

const OpenChannel *CVirtualPrinter::Find(LONG nHandle) const
{
    for (LONG i = 0; i < m_nOpen; ++i) {
        if (m_open[i].nHandle == nHandle)
            return &m_open[i];
    }
    return nullptr;
}

bool CVirtualPrinter::Close(LONG nHandle)
{
    const OpenChannel *pOpen = Find(nHandle);
    if (!pOpen)
        return false;
    // The last open channel takes the closed one's place.
    m_open[pOpen - m_open] = m_open[--m_nOpen];
    return true;
}

// Holds the printer for one call. A call that finds another one already inside was made
// while that one ran: the maker's library need not cope with that, so the log says so.
class CCallLock {
public:
    CCallLock() : m_bOverlapped(InterlockedIncrement(&g_nCallsInside) > 1)
    {
        EnterCriticalSection(&g_callLock);
    }
    ~CCallLock()
    {
        LeaveCriticalSection(&g_callLock);
        InterlockedDecrement(&g_nCallsInside);
    }
    CCallLock(const CCallLock &) = delete;
    CCallLock &operator=(const CCallLock &) = delete;

    bool Overlapped() const { return m_bOverlapped; }

private:
    bool m_bOverlapped;
};

// One call of an export: counts it, applies the scenario's faults and writes its log line
// "<function> <inputs> -> <result> <outputs>[ overlapped]" when it ends.
class CCall {
public:
    explicit CCall(Function function) : m_function(function), m_nCall(++g_printer.m_nCalls[function]) {}
    CCall(const CCall &) = delete;
    CCall &operator=(const CCall &) = delete;
    ~CCall()
    {
        CText line;
        line.Add(FunctionName(m_function)).Add(m_inputs).Add(" -> ").AddNumber(m_nResult).Add(m_outputs);
        g_printer.WriteLog(m_lock.Overlapped() ? line.Add(" overlapped") : line);
    }

    // Starts a " name=" field of the log line; its value is added to what they return.
    CText &In(const char *pszName) { return m_inputs.Add(" ").Add(pszName).Add("="); }
    CText &Out(const char *pszName) { return m_outputs.Add(" ").Add(pszName).Add("="); }

    // Logs the buffer and size arguments of a size-probe function; the size is reported
    // again after the call.
    void InBuffer(const BYTE *pBuffer, LONG *pnSize)
    {
        In("buffer").Add(pBuffer ? "set" : "null");
        CText &size = In("size");
        if (pnSize)
            size.AddNumber(*pnSize);
        else
            size.Add("null");
        m_pnSize = pnSize;
    }

    // A failing fault replaces the call's work.
    bool IsFailed()
    {
        const Fault *pFault = g_printer.m_scenario.FaultFor(FAULT_FAIL, m_function, m_nCall);
        if (pFault)
            Inject(pFault);
        return pFault != nullptr;
    }

    // The call's result: the failing fault's value, else a result fault's value, else the
    // work's own result. A size fault then overwrites the size variable.
    LONG Finish(LONG nWorkResult)
    {
        const CScenario &scenario = g_printer.m_scenario;
        m_nResult = nWorkResult;
        if (m_pInjected) {
            m_nResult = m_pInjected->nValue;
        } else if (const Fault *pFault = scenario.FaultFor(FAULT_RESULT, m_function, m_nCall)) {
            Inject(pFault);
            m_nResult = pFault->nValue;
        }
        const Fault *pSize = scenario.FaultFor(FAULT_SIZE, m_function, m_nCall);
        if (pSize && m_pnSize) {
            *m_pnSize = pSize->nValue;
            Out("injected").Add("size");
        }
        if (m_pnSize)
            Out("size").AddNumber(*m_pnSize);
        return m_nResult;
    }

private:
    void Inject(const Fault *pFault)
    {
        m_pInjected = pFault;
        Out("injected").Add(pFault->kind == FAULT_FAIL ? "fail" : "result");
    }

    // First, so that the call is counted and logged inside the lock.
    CCallLock m_lock;
    Function m_function;
    LONG m_nCall;
    LONG m_nResult = ZR_OK;
    LONG *m_pnSize = nullptr;
    const Fault *m_pInjected = nullptr;
    CText m_inputs;
    CText m_outputs;
};

bool IsOpenable(DWORD dwKey)
{
    const CScenario &scenario = g_printer.m_scenario;
    for (LONG i = 0; i < scenario.ChannelCount(); ++i) {
        if (scenario.Channels()[i].dwKey == dwKey)
            return (scenario.Channels()[i].wFlags & 1) != 0;
    }
    return false;
}

bool IsStarted()
{
    return g_printer.m_nStarts > 0;
}

LONG Unsupported(Function function)
{
    CCall call(function);
    return call.Finish(call.IsFailed() ? 0 : ZR_ERR_NOT_SUPPORTED);
}

// The arguments that name a printer, as the log shows them.
void LogPrinterArguments(CCall &call, LONG nSelector, LPCSTR pszPrinterName)
{
    call.In("selector").AddNumber(nSelector);
    if (pszPrinterName)
        AddQuotedText(call.In("printer"), pszPrinterName);
    else
        call.In("printer").Add("null");
}

// Why a size probe is refused before it delivers anything; ZR_OK when it may go on. An
// injected failure leaves the result to the injection.
LONG ProbeRefusal(CCall &call, const LONG *pnSize)
{
    if (call.IsFailed())
        return ZR_OK;
    if (!IsStarted())
        return ZR_ERR_NOT_STARTED;
    return pnSize ? ZR_OK : ZR_ERR_BAD_ARGUMENT;
}

} // namespace

extern "C" {

LONG WINAPI ZRInitialize(void)
{
    CCall call(FN_INITIALIZE);
    call.IsFailed();
    // Whatever the result, only -13 refuses the start: any other owes a ZRRelease.
    LONG result = call.Finish(ZR_OK);
    if (result != ZR_NOT_STARTED)
        ++g_printer.m_nStarts;
    call.Out("starts").AddNumber(g_printer.m_nStarts);
    return result;
}

LONG WINAPI ZRRelease(void)
{
    CCall call(FN_RELEASE);
    LONG result = ZR_OK;
    if (!call.IsFailed()) {
        if (IsStarted())
            --g_printer.m_nStarts;
        else
            result = ZR_ERR_NOT_STARTED;
    }
    result = call.Finish(result);
    call.Out("starts").AddNumber(g_printer.m_nStarts);
    return result;
}

LONG WINAPI ZRGetDeviceID(LONG nSelector, LPCSTR pszPrinterName, BYTE *pBuffer, LONG *pnSize)
{
    CCall call(FN_GET_DEVICE_ID);
    LogPrinterArguments(call, nSelector, pszPrinterName);
    call.InBuffer(pBuffer, pnSize);
    LONG result = ProbeRefusal(call, pnSize);
    if (result == ZR_OK && !call.IsFailed())
        Deliver(g_printer.m_scenario.DeviceIdOf(pszPrinterName), pBuffer, pnSize);
    return call.Finish(result);
}

LONG WINAPI ZRGetAvailableChannel(LONG nSelector, LPCSTR pszPrinterName, BYTE *pBuffer, LONG *pnSize)
{
    CCall call(FN_GET_AVAILABLE_CHANNEL);
    LogPrinterArguments(call, nSelector, pszPrinterName);
    call.InBuffer(pBuffer, pnSize);
    LONG result = ProbeRefusal(call, pnSize);
    if (result == ZR_OK && !call.IsFailed())
        result = Deliver(g_printer.m_scenario.ChannelTable(), pBuffer, pnSize) /
                 static_cast<LONG>(sizeof(ChannelEntry));
    return call.Finish(result);
}

LONG WINAPI ZROpenChannel(LONG nSelector, LPCSTR pszPrinterName, DWORD dwChannelKey)
{
    CCall call(FN_OPEN_CHANNEL);
    LogPrinterArguments(call, nSelector, pszPrinterName);
    call.In("key").AddHex(dwChannelKey);
    LONG result = ZR_OK;
    if (!call.IsFailed()) {
        if (!IsStarted())
            result = ZR_ERR_NOT_STARTED;
        else if (!IsOpenable(dwChannelKey))
            result = ZR_ERR_NO_CHANNEL;
        else
            result = g_printer.Open(dwChannelKey);
    }
    return call.Finish(result);
}

LONG WINAPI ZRCloseChannel(LONG nChannel)
{
    CCall call(FN_CLOSE_CHANNEL);
    call.In("channel").AddNumber(nChannel);
    LONG result = ZR_OK;
    if (!call.IsFailed()) {
        if (!IsStarted())
            result = ZR_ERR_NOT_STARTED;
        else if (!g_printer.Close(nChannel))
            result = ZR_ERR_BAD_ARGUMENT;
    }
    return call.Finish(result);
}

LONG WINAPI ZRGetStatus(LONG nChannel, BYTE *pBuffer, LONG *pnSize)
{
    CCall call(FN_GET_STATUS);
    call.In("channel").AddNumber(nChannel);
    call.InBuffer(pBuffer, pnSize);
    LONG result = ZR_OK;
    if (!call.IsFailed()) {
        const OpenChannel *pOpen = g_printer.Find(nChannel);
        if (!IsStarted())
            result = ZR_ERR_NOT_STARTED;
        else if (!pnSize || !pOpen)
            result = ZR_ERR_BAD_ARGUMENT;
        else
            Deliver(g_printer.m_scenario.StatusOf(pOpen->dwKey), pBuffer, pnSize);
    }
    return call.Finish(result);
}

LONG WINAPI ZRSend(void)
{
    return Unsupported(FN_SEND);
}

LONG WINAPI ZRReceive(void)
{
    return Unsupported(FN_RECEIVE);
}

LONG WINAPI ZRReceiveCancel(void)
{
    return Unsupported(FN_RECEIVE_CANCEL);
}

LONG WINAPI ZRSetOption(void)
{
    return Unsupported(FN_SET_OPTION);
}

LONG WINAPI ZRGetOption(void)
{
    return Unsupported(FN_GET_OPTION);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID)
{
    switch (dwReason) {
    case DLL_PROCESS_ATTACH:
        InitializeCriticalSection(&g_callLock);
        if (g_printer.Load())
            return TRUE;
        DeleteCriticalSection(&g_callLock);
        return FALSE;
    case DLL_PROCESS_DETACH:
        g_printer.Unload();
        DeleteCriticalSection(&g_callLock);
        break;
    default:
        break;
    }
    return TRUE;
}

} // extern "C"
