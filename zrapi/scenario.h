// What the virtual printer answers: its device ID, channel table, status bytes and the
// faults to inject, read from the scenario text format described in README.md. Held in
// fixed tables with clear limits, so that the printer allocates nothing.
#pragma once

#include "scenario_text.h"

#include <windows.h>

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

// The most that a scenario may hold; one beyond a limit is refused.
const size_t MAX_SCENARIO_BYTES = 1024 * 1024; // the text; its byte texts are never longer
const LONG MAX_CHANNELS = 16384;               // channel lines
const LONG MAX_STATUS_KEYS = 256;              // channel keys with a status line
const LONG MAX_FAULTS = 1024;                  // fail, result and size lines
const LONG MAX_PRINTERS = 16;                  // printer_device_id lines

// A run of bytes that the scenario holds.
struct Bytes {
    const char *pData;
    LONG nLength;
};

// Over a megabyte: keep one in static storage or on the heap, not on the stack.
class CScenario {
public:
    CScenario() = default;
    CScenario(const CScenario &) = delete;
    CScenario &operator=(const CScenario &) = delete;

    // Replaces this scenario by the one in the text; false, with "line N: reason" or why
    // the whole text is refused added to error, when it cannot be used.
    bool Parse(const char *pText, size_t nLength, CText &error);

    // The device ID followed by its zero byte, as the printer delivers it.
    Bytes DeviceId() const;
    // The device ID of the printer of that name when the scenario gives it one of its own,
    // else DeviceId(); pszPrinterName may be null.
    Bytes DeviceIdOf(const char *pszPrinterName) const;
    // The status bytes of a channel key; none for a key without a status line.
    Bytes StatusOf(DWORD dwKey) const;
    // The channel table, in the order of its lines.
    const ChannelEntry *Channels() const { return m_channels; }
    LONG ChannelCount() const { return m_nChannels; }
    // The table as the printer hands it out.
    Bytes ChannelTable() const;

    // The last fault of that kind that applies to this call, or null.
    const Fault *FaultFor(FaultKind kind, Function function, LONG nCall) const;

private:
    // Where a byte text lies in m_bytes.
    struct Stored {
        size_t nAt;
        LONG nLength;
    };
    struct Status {
        DWORD dwKey;
        Stored bytes;
    };
    struct Printer {
        Stored name;
        Stored deviceId;
    };

    bool ParseLine(const char *pLine, size_t nLength, CText &error);
    bool ParseStatus(const char *pRest, size_t nLength, CText &error);
    bool ParsePrinter(const char *pRest, size_t nLength, CText &error);
    // The device ID text of the line's rest, stored with its zero.
    bool StoreDeviceId(const char *pText, size_t nLength, Stored &stored, CText &error);
    // Unescapes the text behind the byte texts stored so far.
    bool Store(const char *pText, size_t nLength, Stored &stored, CText &error);
    Bytes BytesOf(const Stored &stored) const { return {m_bytes + stored.nAt, stored.nLength}; }

    // Every byte text of the scenario, each unescaped from a part of its own line, so that
    // all of them together never outgrow the text; the device ID is stored with its zero,
    // and one byte more holds the zero of the empty one that a scenario starts with.
    char m_bytes[MAX_SCENARIO_BYTES + 1] = {};
    size_t m_nBytes = 0;
    Stored m_deviceId = {};
    ChannelEntry m_channels[MAX_CHANNELS] = {};
    LONG m_nChannels = 0;
    Status m_status[MAX_STATUS_KEYS] = {};
    LONG m_nStatus = 0;
    Fault m_faults[MAX_FAULTS] = {};
    LONG m_nFaults = 0;
    Printer m_printers[MAX_PRINTERS] = {};
    LONG m_nPrinters = 0;
};

// Size-probe answer: with a null buffer the size needed, else as many bytes as fit in the
// size given, and the size becomes the count written. Returns the count written.
LONG Deliver(Bytes bytes, BYTE *pBuffer, LONG *pnSize);

} // namespace zrapi
