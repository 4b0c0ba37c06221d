#include "scenario.h"

#include <errno.h>
#include <stdlib.h>
#include <string.h>

namespace zrapi {
namespace {
const char *const FUNCTION_NAMES[FUNCTION_COUNT] = {
    "ZRInitialize", "ZRRelease", "ZRGetDeviceID", "ZRGetAvailableChannel", "ZROpenChannel", "ZRCloseChannel",
    "ZRSend",       "ZRReceive", "ZRGetStatus",   "ZRReceiveCancel",       "ZRSetOption",   "ZRGetOption",
};

// A part of the scenario text.
struct Span {
    const char *pText;
    size_t nLength;
};

// A channel line has at most three words and a fault line three: four means too many.
const size_t MAX_WORDS = 4;
// Longer than any number that fits in 32 bits, leading zeros aside.
const size_t MAX_NUMBER_LENGTH = 63;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

Span Trim(Span text)
{
    while (text.nLength > 0 && IsBlank(text.pText[0])) {
        ++text.pText;
        --text.nLength;
    }
    while (text.nLength > 0 && IsBlank(text.pText[text.nLength - 1]))
        --text.nLength;
    return text;
}

// The first word of the text (which starts with no blank), and the rest trimmed.
Span FirstWord(Span text, Span &rest)
{
    size_t end = 0;
    while (end < text.nLength && !IsBlank(text.pText[end]))
        ++end;
    rest = Trim({text.pText + end, text.nLength - end});
    return {text.pText, end};
}

// The words of the text, at most MAX_WORDS of them; returns their count.
size_t Words(Span text, Span (&words)[MAX_WORDS])
{
    size_t count = 0;
    for (Span rest = Trim(text); rest.nLength > 0 && count < MAX_WORDS;)
        words[count++] = FirstWord(rest, rest);
    return count;
}

bool Is(Span word, const char *pszText)
{
    return word.nLength == strlen(pszText) && memcmp(word.pText, pszText, word.nLength) == 0;
}

// A whole number in decimal or 0x hexadecimal, optionally negative, that fits in 32 bits.
bool ParseNumber(Span word, long long nMin, long long nMax, long long &nValue)
{
    if (word.nLength == 0 || word.nLength > MAX_NUMBER_LENGTH)
        return false;
    char text[MAX_NUMBER_LENGTH + 1];
    memcpy(text, word.pText, word.nLength);
    text[word.nLength] = '\0';
    char *pEnd = nullptr;
    errno = 0;
    nValue = strtoll(text, &pEnd, 0);
    return errno == 0 && *pEnd == '\0' && nValue >= nMin && nValue <= nMax;
}

bool ParseLong(Span word, LONG &nValue)
{
    long long value = 0;
    if (!ParseNumber(word, -0x80000000LL, 0x7FFFFFFFLL, value))
        return false;
    nValue = static_cast<LONG>(value);
    return true;
}

bool ParseDword(Span word, DWORD &dwValue)
{
    long long value = 0;
    if (!ParseNumber(word, 0, 0xFFFFFFFFLL, value))
        return false;
    dwValue = static_cast<DWORD>(value);
    return true;
}

bool ParseWord(Span word, WORD &wValue)
{
    long long value = 0;
    if (!ParseNumber(word, 0, 0xFFFF, value))
        return false;
    wValue = static_cast<WORD>(value);
    return true;
}

bool ParseFunction(Span word, Function &function)
{
    for (int i = 0; i < FUNCTION_COUNT; ++i) {
        if (Is(word, FUNCTION_NAMES[i])) {
            function = static_cast<Function>(i);
            return true;
        }
    }
    return false;
}

bool ParseCall(Span word, LONG &nCall)
{
    if (Is(word, "*")) {
        nCall = EVERY_CALL;
        return true;
    }
    return ParseLong(word, nCall) && nCall >= 1;
}

bool ParseFaultKind(Span word, FaultKind &kind)
{
    if (Is(word, "fail"))
        kind = FAULT_FAIL;
    else if (Is(word, "result"))
        kind = FAULT_RESULT;
    else if (Is(word, "size"))
        kind = FAULT_SIZE;
    else
        return false;
    return true;
}
} // namespace

const char *FunctionName(Function function)
{
    return FUNCTION_NAMES[function];
}

bool CScenario::Parse(const char *pText, size_t nLength, CText &error)
{
    m_nChannels = m_nStatus = m_nFaults = m_nPrinters = 0;
    m_bytes[0] = '\0';
    m_nBytes = 1;
    m_deviceId = {0, 1};
    if (nLength > MAX_SCENARIO_BYTES) {
        error.Add("is larger than ").AddNumber(static_cast<long>(MAX_SCENARIO_BYTES)).Add(" bytes");
        return false;
    }
    // Every line, empty ones included, so that an error names the right line number.
    size_t start = 0;
    for (long line = 1;; ++line) {
        const void *pNewline = memchr(pText + start, '\n', nLength - start);
        const size_t end = pNewline ? static_cast<const char *>(pNewline) - pText : nLength;
        const Span trimmed = Trim({pText + start, end - start});
        CText reason;
        if (!ParseLine(trimmed.pText, trimmed.nLength, reason)) {
            error.Add("line ").AddNumber(line).Add(": ").Add(reason);
            return false;
        }
        if (!pNewline)
            return true;
        start = end + 1;
    }
}

bool CScenario::ParseLine(const char *pLine, size_t nLength, CText &error)
{
    if (nLength == 0 || pLine[0] == '#')
        return true;
    Span rest;
    const Span directive = FirstWord({pLine, nLength}, rest);

    if (Is(directive, "device_id"))
        return StoreDeviceId(rest.pText, rest.nLength, m_deviceId, error);
    if (Is(directive, "printer_device_id"))
        return ParsePrinter(rest.pText, rest.nLength, error);
    if (Is(directive, "status"))
        return ParseStatus(rest.pText, rest.nLength, error);

    Span words[MAX_WORDS];
    const size_t count = Words(rest, words);
    if (Is(directive, "channel")) {
        ChannelEntry entry = {0, 0, 0};
        if ((count != 2 && count != 3) || !ParseDword(words[0], entry.dwKey) ||
            !ParseWord(words[1], entry.wFlags) || (count == 3 && !ParseWord(words[2], entry.wReserved))) {
            error.Add("channel needs a key, 16-bit flags and optionally 16 reserved bits");
            return false;
        }
        if (m_nChannels == MAX_CHANNELS) {
            error.Add("more than ").AddNumber(MAX_CHANNELS).Add(" channel lines");
            return false;
        }
        m_channels[m_nChannels++] = entry;
        return true;
    }

    Fault fault = {FAULT_FAIL, FN_INITIALIZE, EVERY_CALL, 0};
    if (ParseFaultKind(directive, fault.kind)) {
        if (count != 3 || !ParseFunction(words[0], fault.function) || !ParseCall(words[1], fault.nCall) ||
            !ParseLong(words[2], fault.nValue)) {
            error.Add(directive.pText, directive.nLength)
                .Add(" needs a function name, a call number or *, and a 32-bit value");
            return false;
        }
        if (m_nFaults == MAX_FAULTS) {
            error.Add("more than ").AddNumber(MAX_FAULTS).Add(" fail, result and size lines");
            return false;
        }
        m_faults[m_nFaults++] = fault;
        return true;
    }

    error.Add("unknown directive \"").Add(directive.pText, directive.nLength).Add("\"");
    return false;
}

bool CScenario::ParseStatus(const char *pRest, size_t nLength, CText &error)
{
    Span text;
    DWORD key = 0;
    if (!ParseDword(FirstWord({pRest, nLength}, text), key)) {
        error.Add("status needs a channel key");
        return false;
    }
    LONG i = 0;
    while (i < m_nStatus && m_status[i].dwKey != key)
        ++i;
    if (i == MAX_STATUS_KEYS) {
        error.Add("status lines for more than ").AddNumber(MAX_STATUS_KEYS).Add(" channel keys");
        return false;
    }
    Stored bytes;
    if (!Store(text.pText, text.nLength, bytes, error))
        return false;
    // A later line for the same key replaces the earlier.
    m_status[i] = {key, bytes};
    if (i == m_nStatus)
        ++m_nStatus;
    return true;
}

bool CScenario::ParsePrinter(const char *pRest, size_t nLength, CText &error)
{
    Span text;
    const Span name = FirstWord({pRest, nLength}, text);
    if (name.nLength == 0) {
        error.Add("printer_device_id needs a printer name");
        return false;
    }
    if (m_nPrinters == MAX_PRINTERS) {
        error.Add("more than ").AddNumber(MAX_PRINTERS).Add(" printer_device_id lines");
        return false;
    }
    Printer &printer = m_printers[m_nPrinters];
    if (!Store(name.pText, name.nLength, printer.name, error) ||
        !StoreDeviceId(text.pText, text.nLength, printer.deviceId, error))
        return false;
    ++m_nPrinters;
    return true;
}

bool CScenario::StoreDeviceId(const char *pText, size_t nLength, Stored &stored, CText &error)
{
    if (!Store(pText, nLength, stored, error))
        return false;
    m_bytes[m_nBytes++] = '\0';
    ++stored.nLength;
    return true;
}

bool CScenario::Store(const char *pText, size_t nLength, Stored &stored, CText &error)
{
    size_t count = 0;
    if (!Unescape(pText, nLength, m_bytes + m_nBytes, count, error))
        return false;
    stored = {m_nBytes, static_cast<LONG>(count)};
    m_nBytes += count;
    return true;
}

Bytes CScenario::DeviceId() const
{
    return BytesOf(m_deviceId);
}

Bytes CScenario::DeviceIdOf(const char *pszPrinterName) const
{
    const size_t length = pszPrinterName ? strlen(pszPrinterName) : 0;
    for (LONG i = m_nPrinters - 1; pszPrinterName && i >= 0; --i) {
        const Bytes name = BytesOf(m_printers[i].name);
        if (static_cast<size_t>(name.nLength) == length && memcmp(name.pData, pszPrinterName, length) == 0)
            return BytesOf(m_printers[i].deviceId);
    }
    return DeviceId();
}

Bytes CScenario::StatusOf(DWORD dwKey) const
{
    for (LONG i = 0; i < m_nStatus; ++i) {
        if (m_status[i].dwKey == dwKey)
            return BytesOf(m_status[i].bytes);
    }
    return {"", 0};
}

Bytes CScenario::ChannelTable() const
{
    return {reinterpret_cast<const char *>(m_channels),
            m_nChannels * static_cast<LONG>(sizeof(ChannelEntry))};
}

const Fault *CScenario::FaultFor(FaultKind kind, Function function, LONG nCall) const
{
    const Fault *pFound = nullptr;
    for (LONG i = 0; i < m_nFaults; ++i) {
        const Fault &fault = m_faults[i];
        if (fault.kind == kind && fault.function == function &&
            (fault.nCall == EVERY_CALL || fault.nCall == nCall))
            pFound = &fault;
    }
    return pFound;
}

LONG Deliver(Bytes bytes, BYTE *pBuffer, LONG *pnSize)
{
    if (!pBuffer) {
        *pnSize = bytes.nLength;
        return 0;
    }
    const LONG count = *pnSize < 0 ? 0 : *pnSize < bytes.nLength ? *pnSize : bytes.nLength;
    memcpy(pBuffer, bytes.pData, static_cast<size_t>(count));
    *pnSize = count;
    return count;
}

} // namespace zrapi
