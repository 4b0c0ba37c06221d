#include "expected_outcome.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace {
using zrapi::CScenario;
using zrapi::Deliver;
using zrapi::Fault;
using zrapi::Function;

const DWORD PRIMARY = 0x10010003;
const DWORD FALLBACK = 0x10000003;

// Results with a meaning for the caller, and the virtual printer's own refusals.
const LONG SIZE_PROBED = -4;
const LONG NOT_STARTED = -13;
const LONG PRINTER_NOT_STARTED = -1;
const LONG PRINTER_BAD_ARGUMENT = -2;
const LONG PRINTER_NO_CHANNEL = -3;

// The component takes a probe that asks for more than this for a broken answer.
const LONG LARGEST_READ = 16 * 1024 * 1024;

const size_t CHANNEL_ENTRY_SIZE = 8;
const size_t KEY_LENGTH = 3;
const size_t CW_FIELD_LENGTH = 17;
const size_t CD_FIELD_LENGTH = 23;
const size_t CD_GROUP1 = 13;
const size_t CD_MEMORY = 21;

// The virtual printer of one load, answering each call as zrapi/README.md describes.
class CPrinterReplay {
public:
    explicit CPrinterReplay(const CScenario &scenario) : m_scenario(scenario) {}

    LONG Initialize()
    {
        LONG result = Answer(zrapi::FN_INITIALIZE, nullptr, [] { return 0L; });
        if (result != NOT_STARTED)
            ++m_nStarts;
        return result;
    }

    LONG GetDeviceId(BYTE *pBuffer, LONG *pnSize)
    {
        return Answer(zrapi::FN_GET_DEVICE_ID, pnSize, [&] {
            Deliver(m_scenario.DeviceId(), pBuffer, pnSize);
            return 0L;
        });
    }

    LONG GetAvailableChannel(BYTE *pBuffer, LONG *pnSize)
    {
        return Answer(zrapi::FN_GET_AVAILABLE_CHANNEL, pnSize, [&] {
            return Deliver(m_scenario.ChannelTable(), pBuffer, pnSize) /
                   static_cast<LONG>(CHANNEL_ENTRY_SIZE);
        });
    }

    LONG OpenChannel(DWORD dwKey)
    {
        return Answer(zrapi::FN_OPEN_CHANNEL, nullptr, [&] {
            // The printer's own table decides, by its first entry with the key.
            for (LONG i = 0; i < m_scenario.ChannelCount(); ++i) {
                const zrapi::ChannelEntry &entry = m_scenario.Channels()[i];
                if (entry.dwKey != dwKey)
                    continue;
                if (!(entry.wFlags & 1))
                    break;
                m_open[m_nNextHandle] = dwKey;
                return m_nNextHandle++;
            }
            return PRINTER_NO_CHANNEL;
        });
    }

    LONG CloseChannel(LONG nChannel)
    {
        return Answer(zrapi::FN_CLOSE_CHANNEL, nullptr,
                      [&] { return m_open.erase(nChannel) ? 0L : PRINTER_BAD_ARGUMENT; });
    }

    LONG GetStatus(LONG nChannel, BYTE *pBuffer, LONG *pnSize)
    {
        return Answer(zrapi::FN_GET_STATUS, pnSize, [&] {
            std::map<LONG, DWORD>::const_iterator open = m_open.find(nChannel);
            if (open == m_open.end())
                return PRINTER_BAD_ARGUMENT;
            Deliver(m_scenario.StatusOf(open->second), pBuffer, pnSize);
            return 0L;
        });
    }

private:
    // One call: a failing fault replaces the work, a result fault replaces its result, and
    // a size fault then overwrites the size variable.
    template <typename TWork> LONG Answer(Function function, LONG *pnSize, TWork work)
    {
        const LONG call = ++m_nCalls[function];
        LONG result;
        if (const Fault *pFail = m_scenario.FaultFor(zrapi::FAULT_FAIL, function, call)) {
            result = pFail->nValue;
        } else {
            result = function == zrapi::FN_INITIALIZE || m_nStarts > 0 ? work() : PRINTER_NOT_STARTED;
            if (const Fault *pResult = m_scenario.FaultFor(zrapi::FAULT_RESULT, function, call))
                result = pResult->nValue;
        }
        const Fault *pSize = m_scenario.FaultFor(zrapi::FAULT_SIZE, function, call);
        if (pSize && pnSize)
            *pnSize = pSize->nValue;
        return result;
    }

    const CScenario &m_scenario;
    LONG m_nCalls[zrapi::FUNCTION_COUNT] = {};
    LONG m_nStarts = 0;
    LONG m_nNextHandle = 0;
    std::map<LONG, DWORD> m_open;
};

// The component's side of a size probe: ask for the size, allocate exactly that, ask again.
// strBlock gets the whole block; nDelivered the size that the second call left, kept inside it.
template <typename TCall> bool ReadSized(TCall call, std::string &strBlock, LONG &nResult, LONG &nDelivered)
{
    LONG size = 0;
    nResult = call(nullptr, &size);
    if (nResult < 0 && nResult != SIZE_PROBED)
        return false;
    if (size < 0 || size > LARGEST_READ)
        return false;
    const LONG allocated = size;
    std::string block(static_cast<size_t>(allocated), '\0');
    nResult = call(reinterpret_cast<BYTE *>(&block[0]), &size);
    if (nResult < 0)
        return false;
    nDelivered = std::clamp(size, 0L, allocated);
    strBlock.swap(block);
    return true;
}

// One status question; bUnavailable tells the caller that the key was missing from the
// table or not marked as usable there, the one failure after which the fallback is asked.
bool ReadStatus(CPrinterReplay &printer, DWORD dwKey, std::string &strStatus, bool &bUnavailable)
{
    bUnavailable = false;
    std::string table;
    LONG count = 0;
    LONG delivered = 0;
    if (!ReadSized([&](BYTE *pBuffer, LONG *pnSize) { return printer.GetAvailableChannel(pBuffer, pnSize); },
                   table, count, delivered))
        return false;
    const LONG inBlock = std::clamp(count, 0L, static_cast<LONG>(table.size() / CHANNEL_ENTRY_SIZE));
    bool usable = false;
    for (LONG i = 0; i < inBlock; ++i) {
        zrapi::ChannelEntry entry;
        std::memcpy(&entry, table.data() + i * CHANNEL_ENTRY_SIZE, sizeof(entry));
        if (entry.dwKey == dwKey) {
            usable = (entry.wFlags & 1) != 0;
            break;
        }
    }
    if (!usable) {
        bUnavailable = true;
        return false;
    }
    const LONG channel = printer.OpenChannel(dwKey);
    if (channel < 0)
        return false;
    std::string bytes;
    LONG result = 0;
    const bool read =
        ReadSized([&](BYTE *pBuffer, LONG *pnSize) { return printer.GetStatus(channel, pBuffer, pnSize); },
                  bytes, result, delivered);
    bytes.resize(static_cast<size_t>(delivered)); // only the status is taken at the delivered size
    // The channel is closed on every way out, and a failing close loses the read.
    const bool closed = printer.CloseChannel(channel) >= 0;
    if (!read || !closed)
        return false;
    strStatus.swap(bytes);
    return true;
}

LONG ModelIndex(const char *pszModel)
{
    if (!pszModel)
        return -1;
    if (lstrcmpiA(pszModel, "RX-7100W") == 0)
        return 0;
    if (lstrcmpiA(pszModel, "RX-9100W") == 0)
        return 1;
    return -1;
}

ExpectedOutcome Ended(ExpectedOutcome outcome, const char *pszWhy)
{
    outcome.strWhy = pszWhy;
    return outcome;
}

// The first match of the key that begins on a character of the ANSI code page.
size_t FindOnCharacter(const std::string &strText, size_t nFrom, const char *pszKey)
{
    size_t i = nFrom;
    while (i < strText.size()) {
        if (strText.compare(i, std::strlen(pszKey), pszKey) == 0)
            return i;
        i += IsDBCSLeadByte(static_cast<BYTE>(strText[i])) && i + 1 < strText.size() ? 2 : 1;
    }
    return std::string::npos;
}

// Where the key starts a whole field. Only the first match counts, and a key that ends
// the bytes is not looked at.
bool FindField(const std::string &strBytes, const char *pszKey, size_t nFieldLength, size_t &nAt)
{
    for (size_t i = 0; i + KEY_LENGTH < strBytes.size(); ++i) {
        if (strBytes.compare(i, KEY_LENGTH, pszKey) == 0) {
            nAt = i;
            return strBytes.size() - i >= nFieldLength;
        }
    }
    return false;
}

// The bytes at an offset read as a zero-terminated text of at most nLength characters.
std::string TextAt(const std::string &strBytes, size_t nAt, size_t nLength)
{
    return std::string(strBytes, nAt, nLength).c_str();
}

LONG TokenValue(const std::string &strToken)
{
    if (lstrcmpiA(strToken.c_str(), "NA") == 0 || strToken.empty())
        return 0;
    LONG value = 0;
    for (char c : strToken) {
        const char *pDigit = std::strchr("0123456789ABCDEF", c >= 'a' && c <= 'f' ? c - 'a' + 'A' : c);
        if (c == '\0' || !pDigit)
            return 0;
        value = value * 16 + static_cast<LONG>(pDigit - "0123456789ABCDEF");
    }
    return value;
}
} // namespace

bool ReferenceModel(const std::string &strDeviceId, std::string &strModel)
{
    const size_t key = FindOnCharacter(strDeviceId, 0, "MDL:");
    if (key == std::string::npos)
        return false;
    const size_t end = FindOnCharacter(strDeviceId, key + 4, ";");
    if (end == std::string::npos)
        return false;
    strModel = strDeviceId.substr(key + 4, end - key - 4);
    return true;
}

bool ReferenceParse(const std::string &strStatus, OptionInfo &info)
{
    bool complete = true;
    size_t at = 0;
    if (info.bHasPrinterId) {
        if (FindField(strStatus, "CW:", CW_FIELD_LENGTH, at)) {
            for (size_t k = 0; k < 6; ++k)
                info.nPrinterId[k] = TokenValue(TextAt(strStatus, at + 5 + 2 * k, 2));
        } else {
            complete = false;
        }
    }
    const bool hasCd = FindField(strStatus, "CD:", CD_FIELD_LENGTH, at);
    if (info.bHasMemory) {
        if (hasCd)
            info.nMemoryMB = TokenValue(TextAt(strStatus, at + CD_MEMORY, 2));
        else
            complete = false;
    }
    if (info.bHasPaperSource) {
        if (hasCd) {
            const bool available = lstrcmpiA(TextAt(strStatus, at + CD_GROUP1, 4).c_str(), "NAVL") != 0 &&
                                   lstrcmpiA(TextAt(strStatus, at + CD_GROUP1 + 4, 2).c_str(), "NA") != 0 &&
                                   lstrcmpiA(TextAt(strStatus, at + CD_GROUP1 + 6, 2).c_str(), "NA") != 0;
            info.nPaperSource = available ? 1 : 0;
        } else {
            complete = false;
        }
    }
    return complete;
}

ExpectedOutcome ExpectQueryOutcome(const zrapi::CScenario &scenario, const char *pszCallerModel,
                                   const OptionInfo *pInInfo, SweepChannelPlan plan)
{
    ExpectedOutcome outcome;
    CPrinterReplay printer(scenario);
    if (printer.Initialize() == NOT_STARTED)
        return Ended(outcome, "start refused");

    std::string block;
    LONG result = 0;
    LONG delivered = 0;
    if (!ReadSized([&](BYTE *pBuffer, LONG *pnSize) { return printer.GetDeviceId(pBuffer, pnSize); }, block,
                   result, delivered))
        return Ended(outcome, "device ID not read");
    std::string model;
    if (!ReferenceModel(block.c_str(), model))
        return Ended(outcome, "no model in the device ID");
    if (lstrcmpiA(pszCallerModel ? pszCallerModel : "", model.c_str()) != 0) {
        outcome.bMessageBox = true;
        return Ended(outcome, "another model");
    }
    const LONG index = ModelIndex(pszCallerModel);
    if (index < 0)
        return Ended(outcome, "model not supported");

    OptionInfo working = pInInfo ? *pInInfo : OptionInfo();
    working.bHasPrinterId = 1;
    working.nPrinterIdCount = 6;
    working.bHasMemory = working.bHasPaperSource = index == 1 ? 1 : 0;

    // The option read's own link: a second start while the first one lasts.
    if (printer.Initialize() == NOT_STARTED)
        return Ended(outcome, "second start refused");
    std::string status;
    bool unavailable = false;
    bool read = false;
    if (plan == SWEEP_PLAN_PRIMARY_THEN_FALLBACK) {
        read = ReadStatus(printer, PRIMARY, status, unavailable);
        if (!read && unavailable)
            read = ReadStatus(printer, FALLBACK, status, unavailable);
    } else {
        read = ReadStatus(printer, FALLBACK, status, unavailable);
    }
    if (!read)
        return Ended(outcome, "status not read");
    if (!ReferenceParse(status, working))
        return Ended(outcome, "fields missing or cut short");
    outcome.nResult = 1;
    outcome.record = working;
    return Ended(outcome, "options read");
}
