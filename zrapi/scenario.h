// What the virtual printer answers: its device ID, channel table, status bytes and the
// faults to inject, read from the scenario text format described in README.md.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace zrapi {

// The twelve exports, in the order of the library contract's binding.
enum Function {
    FN_INITIALIZE,
    FN_RELEASE,
    FN_GET_DEVICE_ID,
    FN_GET_AVAILABLE_CHANNEL,
    FN_OPEN_CHANNEL,
    FN_CLOSE_CHANNEL,
    FN_SEND,
    FN_RECEIVE,
    FN_GET_STATUS,
    FN_RECEIVE_CANCEL,
    FN_SET_OPTION,
    FN_GET_OPTION,
    FUNCTION_COUNT
};

const char *FunctionName(Function function);

// One channel-table entry as the printer hands it out: 8 bytes, little-endian.
struct ChannelEntry {
    DWORD dwKey;
    WORD wFlags;
    WORD wReserved;
};
static_assert(sizeof(ChannelEntry) == 8, "channel entries are 8 bytes");

enum FaultKind {
    FAULT_FAIL,   // the call does nothing and returns the value
    FAULT_RESULT, // the call does its work and returns the value instead of its own
    FAULT_SIZE,   // after the call, the size variable holds the value
};

const LONG EVERY_CALL = 0;

struct Fault {
    FaultKind kind;
    Function function;
    LONG nCall; // 1 for the first call of the function in this load, or EVERY_CALL
    LONG nValue;
};

class CScenario {
public:
    // Replaces this scenario by the one in strText; false, with "line N: reason" in
    // strError, when a line is malformed.
    bool Parse(const std::string &strText, std::string &strError);

    // The status bytes of a channel key; empty for a key without a status line.
    std::string StatusOf(DWORD dwKey) const;

    // The last fault of that kind that applies to this call, or null.
    const Fault *FaultFor(FaultKind kind, Function function, LONG nCall) const;

    std::string m_strDeviceId;
    std::vector<ChannelEntry> m_channels;
    std::map<DWORD, std::string> m_status;
    std::vector<Fault> m_faults;

private:
    bool ParseLine(const std::string &strLine, std::string &strError);
};

// Size-probe answer: with a null buffer the size needed, else as many bytes as fit in the
// size given, and the size becomes the count written. Returns the count written.
LONG Deliver(const std::string &strBytes, BYTE *pBuffer, LONG *pnSize);

} // namespace zrapi
