#include "scenario.h"

#include "scenario_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace zrapi {
namespace {
const char *const FUNCTION_NAMES[FUNCTION_COUNT] = {
    "ZRInitialize", "ZRRelease", "ZRGetDeviceID", "ZRGetAvailableChannel", "ZROpenChannel", "ZRCloseChannel",
    "ZRSend",       "ZRReceive", "ZRGetStatus",   "ZRReceiveCancel",       "ZRSetOption",   "ZRGetOption",
};

const char WHITESPACE[] = " \t\r";

std::string Trim(const std::string &strText)
{
    std::string::size_type first = strText.find_first_not_of(WHITESPACE);
    if (first == std::string::npos)
        return std::string();
    return strText.substr(first, strText.find_last_not_of(WHITESPACE) - first + 1);
}

// A whole number in decimal or 0x hexadecimal, optionally negative, that fits in 32 bits.
bool ParseNumber(const std::string &strWord, long long nMin, long long nMax, long long &nValue)
{
    if (strWord.empty())
        return false;
    char *pEnd = nullptr;
    errno = 0;
    nValue = std::strtoll(strWord.c_str(), &pEnd, 0);
    return errno == 0 && *pEnd == '\0' && nValue >= nMin && nValue <= nMax;
}

bool ParseLong(const std::string &strWord, LONG &nValue)
{
    long long value = 0;
    if (!ParseNumber(strWord, -0x80000000LL, 0x7FFFFFFFLL, value))
        return false;
    nValue = static_cast<LONG>(value);
    return true;
}

bool ParseDword(const std::string &strWord, DWORD &dwValue)
{
    long long value = 0;
    if (!ParseNumber(strWord, 0, 0xFFFFFFFFLL, value))
        return false;
    dwValue = static_cast<DWORD>(value);
    return true;
}

bool ParseWord(const std::string &strWord, WORD &wValue)
{
    long long value = 0;
    if (!ParseNumber(strWord, 0, 0xFFFF, value))
        return false;
    wValue = static_cast<WORD>(value);
    return true;
}

bool ParseFunction(const std::string &strWord, Function &function)
{
    for (int i = 0; i < FUNCTION_COUNT; ++i) {
        if (strWord == FUNCTION_NAMES[i]) {
            function = static_cast<Function>(i);
            return true;
        }
    }
    return false;
}

bool ParseCall(const std::string &strWord, LONG &nCall)
{
    if (strWord == "*") {
        nCall = EVERY_CALL;
        return true;
    }
    return ParseLong(strWord, nCall) && nCall >= 1;
}

bool ParseFaultKind(const std::string &strWord, FaultKind &kind)
{
    if (strWord == "fail")
        kind = FAULT_FAIL;
    else if (strWord == "result")
        kind = FAULT_RESULT;
    else if (strWord == "size")
        kind = FAULT_SIZE;
    else
        return false;
    return true;
}

std::vector<std::string> Split(const std::string &strText, const char *pszSeparators)
{
    std::vector<std::string> parts;
    std::string::size_type start = strText.find_first_not_of(pszSeparators);
    while (start != std::string::npos) {
        std::string::size_type end = strText.find_first_of(pszSeparators, start);
        parts.push_back(strText.substr(start, end - start));
        start = end == std::string::npos ? end : strText.find_first_not_of(pszSeparators, end);
    }
    return parts;
}
// Every line, empty ones included, so that an error names the right line number.
std::vector<std::string> Lines(const std::string &strText)
{
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    for (std::string::size_type end; (end = strText.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(strText.substr(start, end - start));
    lines.push_back(strText.substr(start));
    return lines;
}
} // namespace

const char *FunctionName(Function function)
{
    return FUNCTION_NAMES[function];
}

bool CScenario::Parse(const std::string &strText, std::string &strError)
{
    *this = CScenario();
    const std::vector<std::string> lines = Lines(strText);
    for (std::vector<std::string>::size_type i = 0; i < lines.size(); ++i) {
        std::string reason;
        if (!ParseLine(Trim(lines[i]), reason)) {
            strError = "line " + std::to_string(i + 1) + ": " + reason;
            return false;
        }
    }
    return true;
}

bool CScenario::ParseLine(const std::string &strLine, std::string &strError)
{
    if (strLine.empty() || strLine[0] == '#')
        return true;
    std::string::size_type space = strLine.find_first_of(WHITESPACE);
    const std::string directive = strLine.substr(0, space);
    const std::string rest = space == std::string::npos ? std::string() : Trim(strLine.substr(space));

    if (directive == "device_id")
        return Unescape(rest, m_strDeviceId, strError);

    if (directive == "status") {
        std::string::size_type keyEnd = rest.find_first_of(WHITESPACE);
        DWORD key = 0;
        if (!ParseDword(rest.substr(0, keyEnd), key)) {
            strError = "status needs a channel key";
            return false;
        }
        std::string bytes;
        const std::string text = keyEnd == std::string::npos ? std::string() : Trim(rest.substr(keyEnd));
        if (!Unescape(text, bytes, strError))
            return false;
        m_status[key] = bytes;
        return true;
    }

    const std::vector<std::string> words = Split(rest, WHITESPACE);
    if (directive == "channel") {
        ChannelEntry entry = {0, 0, 0};
        if ((words.size() != 2 && words.size() != 3) || !ParseDword(words[0], entry.dwKey) ||
            !ParseWord(words[1], entry.wFlags) ||
            (words.size() == 3 && !ParseWord(words[2], entry.wReserved))) {
            strError = "channel needs a key, 16-bit flags and optionally 16 reserved bits";
            return false;
        }
        m_channels.push_back(entry);
        return true;
    }

    Fault fault = {FAULT_FAIL, FN_INITIALIZE, EVERY_CALL, 0};
    if (ParseFaultKind(directive, fault.kind)) {
        if (words.size() != 3 || !ParseFunction(words[0], fault.function) ||
            !ParseCall(words[1], fault.nCall) || !ParseLong(words[2], fault.nValue)) {
            strError = directive + " needs a function name, a call number or *, and a 32-bit value";
            return false;
        }
        m_faults.push_back(fault);
        return true;
    }

    strError = "unknown directive \"" + directive + "\"";
    return false;
}

std::string CScenario::StatusOf(DWORD dwKey) const
{
    std::map<DWORD, std::string>::const_iterator found = m_status.find(dwKey);
    return found == m_status.end() ? std::string() : found->second;
}

const Fault *CScenario::FaultFor(FaultKind kind, Function function, LONG nCall) const
{
    const Fault *pFound = nullptr;
    for (const Fault &fault : m_faults) {
        if (fault.kind == kind && fault.function == function &&
            (fault.nCall == EVERY_CALL || fault.nCall == nCall))
            pFound = &fault;
    }
    return pFound;
}

LONG Deliver(const std::string &strBytes, BYTE *pBuffer, LONG *pnSize)
{
    const LONG total = static_cast<LONG>(strBytes.size());
    if (!pBuffer) {
        *pnSize = total;
        return 0;
    }
    const LONG count = std::clamp(*pnSize, 0L, total);
    std::memcpy(pBuffer, strBytes.data(), static_cast<size_t>(count));
    *pnSize = count;
    return count;
}

} // namespace zrapi
