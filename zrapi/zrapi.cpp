// The virtual printer: ZRAPI.DLL's twelve functions answered from a scenario, every call
// written to a log. State lives per load of the library: each process attach reads the
// scenario and log path afresh and starts the call counters at zero.
#include "scenario.h"
#include "scenario_text.h"

#include "zrapi_default_scenario.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

using namespace zrapi;

namespace __gnu_cxx {
// Gives back the C++ runtime's emergency exception pool (libstdc++).
void __freeres();
} // namespace __gnu_cxx

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

class CVirtualPrinter {
public:
    // False when the scenario cannot be used; the reason is logged.
    bool Load();
    void Unload();

    void WriteLog(const std::string &strLine) const;

    CScenario m_scenario;
    std::string m_strLogPath;
    LONG m_nCalls[FUNCTION_COUNT] = {};
    LONG m_nStarts = 0;
    LONG m_nNextHandle = 0;
    std::map<LONG, DWORD> m_openChannels; // handle -> channel key
};

CVirtualPrinter g_printer;

std::string Variable(const char *pszName)
{
    char value[MAX_PATH * 2];
    DWORD length = GetEnvironmentVariableA(pszName, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

bool ReadWholeFile(const std::string &strPath, std::string &strText)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    strText.clear();
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(hFile, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        strText.append(buffer, read);
    CloseHandle(hFile);
    return true;
}

std::string Quoted(const std::string &strBytes)
{
    return "\"" + Escape(strBytes) + "\"";
}

std::string Hex(DWORD dwValue)
{
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lx", static_cast<unsigned long>(dwValue));
    return text;
}

bool CVirtualPrinter::Load()
{
    *this = CVirtualPrinter();
    m_strLogPath = Variable(LOG_VARIABLE);
    const std::string path = Variable(SCENARIO_VARIABLE);
    std::string text = ZRAPI_DEFAULT_SCENARIO;
    std::string error;
    if (!path.empty() && !ReadWholeFile(path, text))
        error = "cannot read " + path;
    else if (!m_scenario.Parse(text, error))
        error = (path.empty() ? std::string("default scenario ") : path + " ") + error;
    if (!error.empty()) {
        WriteLog("load error=" + Quoted(error));
        return false;
    }
    WriteLog("load scenario=" + (path.empty() ? std::string("default") : Quoted(path)));
    return true;
}

// Reports what the caller left behind: starts without a release and channels not closed.
void CVirtualPrinter::Unload()
{
    WriteLog("unload starts=" + std::to_string(m_nStarts) +
             " channels=" + std::to_string(m_openChannels.size()));
}

// One line per open-append-close, so that a crash loses nothing already written.
void CVirtualPrinter::WriteLog(const std::string &strLine) const
{
    if (m_strLogPath.empty())
        return;
    HANDLE hFile = CreateFileA(m_strLogPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    const std::string line = strLine + "\r\n";
    DWORD written = 0;
    WriteFile(hFile, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(hFile);
}

// One call of an export: counts it, applies the scenario's faults and writes its log line
// "<function> <inputs> -> <result> <outputs>" when it ends.
class CCall {
public:
    explicit CCall(Function function)
        : m_function(function), m_nCall(++g_printer.m_nCalls[function]), m_nResult(ZR_OK), m_pnSize(nullptr),
          m_pInjected(nullptr)
    {
    }
    CCall(const CCall &) = delete;
    CCall &operator=(const CCall &) = delete;
    ~CCall()
    {
        g_printer.WriteLog(FunctionName(m_function) + m_strInputs + " -> " + std::to_string(m_nResult) +
                           m_strOutputs);
    }

    void In(const char *pszName, const std::string &strValue)
    {
        m_strInputs += std::string(" ") + pszName + "=" + strValue;
    }
    void Out(const char *pszName, const std::string &strValue)
    {
        m_strOutputs += std::string(" ") + pszName + "=" + strValue;
    }

    // Logs the buffer and size arguments of a size-probe function; the size is reported
    // again after the call.
    void InBuffer(const BYTE *pBuffer, LONG *pnSize)
    {
        In("buffer", pBuffer ? "set" : "null");
        In("size", pnSize ? std::to_string(*pnSize) : std::string("null"));
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
            Out("injected", "size");
        }
        if (m_pnSize)
            Out("size", std::to_string(*m_pnSize));
        return m_nResult;
    }

private:
    void Inject(const Fault *pFault)
    {
        m_pInjected = pFault;
        Out("injected", pFault->kind == FAULT_FAIL ? "fail" : "result");
    }

    Function m_function;
    LONG m_nCall;
    LONG m_nResult;
    LONG *m_pnSize;
    const Fault *m_pInjected;
    std::string m_strInputs;
    std::string m_strOutputs;
};

std::string ChannelTableBytes()
{
    const std::vector<ChannelEntry> &channels = g_printer.m_scenario.m_channels;
    return std::string(reinterpret_cast<const char *>(channels.data()),
                       channels.size() * sizeof(ChannelEntry));
}

bool IsOpenable(DWORD dwKey)
{
    for (const ChannelEntry &entry : g_printer.m_scenario.m_channels) {
        if (entry.dwKey == dwKey)
            return (entry.wFlags & 1) != 0;
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
// The arguments of a size probe that names a printer, as the log shows them.
void LogProbeArguments(CCall &call, LONG nSelector, LPCSTR pszPrinterName, BYTE *pBuffer, LONG *pnSize)
{
    call.In("selector", std::to_string(nSelector));
    call.In("printer", pszPrinterName ? Quoted(pszPrinterName) : std::string("null"));
    call.InBuffer(pBuffer, pnSize);
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
    call.Out("starts", std::to_string(g_printer.m_nStarts));
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
    call.Out("starts", std::to_string(g_printer.m_nStarts));
    return result;
}

LONG WINAPI ZRGetDeviceID(LONG nSelector, LPCSTR pszPrinterName, BYTE *pBuffer, LONG *pnSize)
{
    CCall call(FN_GET_DEVICE_ID);
    LogProbeArguments(call, nSelector, pszPrinterName, pBuffer, pnSize);
    LONG result = ProbeRefusal(call, pnSize);
    if (result == ZR_OK && !call.IsFailed())
        Deliver(g_printer.m_scenario.m_strDeviceId + '\0', pBuffer, pnSize);
    return call.Finish(result);
}

LONG WINAPI ZRGetAvailableChannel(LONG nSelector, LPCSTR pszPrinterName, BYTE *pBuffer, LONG *pnSize)
{
    CCall call(FN_GET_AVAILABLE_CHANNEL);
    LogProbeArguments(call, nSelector, pszPrinterName, pBuffer, pnSize);
    LONG result = ProbeRefusal(call, pnSize);
    if (result == ZR_OK && !call.IsFailed())
        result = Deliver(ChannelTableBytes(), pBuffer, pnSize) / static_cast<LONG>(sizeof(ChannelEntry));
    return call.Finish(result);
}

LONG WINAPI ZROpenChannel(LONG nSelector, LPCSTR pszPrinterName, DWORD dwChannelKey)
{
    CCall call(FN_OPEN_CHANNEL);
    call.In("selector", std::to_string(nSelector));
    call.In("printer", pszPrinterName ? Quoted(pszPrinterName) : std::string("null"));
    call.In("key", Hex(dwChannelKey));
    LONG result = ZR_OK;
    if (!call.IsFailed()) {
        if (!IsStarted()) {
            result = ZR_ERR_NOT_STARTED;
        } else if (!IsOpenable(dwChannelKey)) {
            result = ZR_ERR_NO_CHANNEL;
        } else {
            result = g_printer.m_nNextHandle++;
            g_printer.m_openChannels[result] = dwChannelKey;
        }
    }
    return call.Finish(result);
}

LONG WINAPI ZRCloseChannel(LONG nChannel)
{
    CCall call(FN_CLOSE_CHANNEL);
    call.In("channel", std::to_string(nChannel));
    LONG result = ZR_OK;
    if (!call.IsFailed()) {
        if (!IsStarted())
            result = ZR_ERR_NOT_STARTED;
        else if (g_printer.m_openChannels.erase(nChannel) == 0)
            result = ZR_ERR_BAD_ARGUMENT;
    }
    return call.Finish(result);
}

LONG WINAPI ZRGetStatus(LONG nChannel, BYTE *pBuffer, LONG *pnSize)
{
    CCall call(FN_GET_STATUS);
    call.In("channel", std::to_string(nChannel));
    call.InBuffer(pBuffer, pnSize);
    LONG result = ZR_OK;
    if (!call.IsFailed()) {
        std::map<LONG, DWORD>::const_iterator open = g_printer.m_openChannels.find(nChannel);
        if (!IsStarted())
            result = ZR_ERR_NOT_STARTED;
        else if (!pnSize || open == g_printer.m_openChannels.end())
            result = ZR_ERR_BAD_ARGUMENT;
        else
            Deliver(g_printer.m_scenario.StatusOf(open->second), pBuffer, pnSize);
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

BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID pvReserved)
{
    switch (dwReason) {
    case DLL_PROCESS_ATTACH:
        return g_printer.Load() ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
        g_printer.Unload();
        // The component loads and frees the library on every call: the C++ runtime's
        // emergency exception pool, allocated at each load, must go with it.
        if (!pvReserved)
            __gnu_cxx::__freeres();
        break;
    default:
        break;
    }
    return TRUE;
}

} // extern "C"
