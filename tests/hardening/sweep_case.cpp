#include "sweep_case.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {
const DWORD PRIMARY = 0x10010003;
const DWORD FALLBACK = 0x10000003;
const DWORD OTHER_CHANNEL = 0x10020003;
const LONG LARGEST_READ = 16 * 1024 * 1024;
const LONG BEYOND_LARGEST_READ = LARGEST_READ + 1;
const size_t LONG_TEXT = 64 * 1024;
const size_t MANY_CHANNELS = 10000;

const char *const FUNCTIONS_CALLED[] = {
    "ZRInitialize",  "ZRRelease",      "ZRGetDeviceID", "ZRGetAvailableChannel",
    "ZROpenChannel", "ZRCloseChannel", "ZRGetStatus",
};

std::string HexKey(DWORD dwKey)
{
    char text[16];
    wsprintfA(text, "0x%08lx", dwKey);
    return text;
}

bool IsPlainAscii(const std::string &strText)
{
    return std::all_of(strText.begin(), strText.end(), [](char c) { return c > 0 && c < 0x7F; });
}

std::string Lower(std::string strText)
{
    for (char &c : strText)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return strText;
}

std::string Join(const std::vector<std::string> &parts, const std::string &strSeparator)
{
    std::string text;
    for (const std::string &part : parts)
        text += part + strSeparator;
    return text;
}
} // namespace

SweepCase CSweepGenerator::Next()
{
    SweepCase c;
    c.strCallerModel = Percent(45) ? "RX-9100W" : Percent(60) ? "RX-7100W" : Model();
    const std::string deviceId = DeviceId(PrinterModel(c.strCallerModel));
    const std::string status = Status();
    c.scenario.DeviceId(deviceId).Status(PRIMARY, status).Status(FALLBACK, Percent(50) ? status : Status());
    if (Percent(5))
        c.scenario.Remove("status " + HexKey(FALLBACK)); // a channel without status bytes
    Channels(c.scenario);
    Faults(c.scenario, deviceId, status);
    c.bNullInput = Percent(10);
    c.input = Input();
    return c;
}

std::string CSweepGenerator::RandomBytes(size_t nLength)
{
    std::string bytes(nLength, '\0');
    for (char &c : bytes)
        c = static_cast<char>(Below(256));
    return bytes;
}

// Model names near the supported ones, others, and double-byte ones (Shift-JIS).
std::string CSweepGenerator::Model()
{
    const char *const MODELS[] = {
        "RX-9100W",         "RX-7100W",     "rx-9100w", "Rx-7100W", "RX-9100",
        "RX-9100WX",        "RX-9100W ",    "RX-5000",  "",         "\x83v\x83\x8a\x83\x93\x83^",
        "RX-9100W\x81\x40", "RX\x81;9100W",
    };
    return Percent(2) ? std::string(4096, 'W') : std::string(Pick(MODELS));
}

// Mostly the caller's own model, sometimes in another case, sometimes another printer.
std::string CSweepGenerator::PrinterModel(const std::string &strCallerModel)
{
    if (Percent(20))
        return Model();
    return IsPlainAscii(strCallerModel) && Percent(20) ? Lower(strCallerModel) : strCallerModel;
}

std::string CSweepGenerator::DeviceId(const std::string &strModel)
{
    if (Percent(3))
        return "";
    if (Percent(3))
        return RandomBytes(Below(300));
    std::vector<std::string> pairs = {"MFG:ZR", "CMD:ZRPL,PJL", "MDL:" + strModel, "CLS:PRINTER",
                                      "DES:ZR " + strModel + " Page Printer"};
    if (Percent(40))
        std::shuffle(pairs.begin(), pairs.end(), m_random);
    if (Percent(10))
        pairs.push_back("MDL:" + Model()); // a second model: the first one counts
    if (Percent(3))
        pairs.insert(pairs.begin(), "DES:" + std::string(LONG_TEXT, 'D'));
    std::string text = Join(pairs, ";");
    const std::string::size_type key = text.find("MDL:");
    switch (Below(24)) {
    case 0: // no ";" after the model: it runs on to the next pair's ";", or to the end
        text.erase(text.find(';', key), 1);
        break;
    case 1: // the key in lower case is another key
        text.replace(key, 4, "mdl:");
        break;
    case 2: // the key at the very end, with no model
        text = Join({"MFG:ZR", "CLS:PRINTER"}, ";") + "MDL:";
        break;
    case 3: // a zero byte inside the text
        text.insert(Below(static_cast<unsigned int>(text.size()) + 1), 1, '\0');
        break;
    case 4: // a lead byte before the key: under code page 932 "M" is its second byte
        text.insert(key, "\x83");
        break;
    case 5: // cut short anywhere
        text.resize(Below(static_cast<unsigned int>(text.size()) + 1));
        break;
    case 6: // no ";" at the very end
        text.pop_back();
        break;
    default:
        break;
    }
    return text;
}

// A two-character value token: hexadecimal, "NA" in any case, or something else.
std::string CSweepGenerator::Token()
{
    const char *const TOKENS[] = {"NA", "na", "nA", "zz", " 1", "0x", "G0",
                                  "FF", "1E", "46", "1e", "32", "00"};
    switch (Below(6)) {
    case 0:
        return Pick(TOKENS);
    case 1:
        return std::string(1, "0123456789ABCDEF"[Below(16)]) + '\0'; // one digit, then a zero byte
    case 2:
        return RandomBytes(2);
    default: {
        const char *pszDigits = Percent(80) ? "0123456789ABCDEF" : "0123456789abcdef";
        return std::string(1, pszDigits[Below(16)]) + pszDigits[Below(16)];
    }
    }
}

std::string CSweepGenerator::PrinterIdField()
{
    std::string field = Percent(95) ? "CW:" : "cw:";
    field += Percent(90) ? "01" : RandomBytes(2);
    for (int k = 0; k < 6; ++k)
        field += Token();
    return field;
}

std::string CSweepGenerator::DeviceField()
{
    // Eight bytes each: the three tokens of group 1, two with a zero byte in the first.
    const std::string GROUP_CUT_IN_FIRST = std::string("NAV") + '\0' + "0A01";
    const std::string GROUP_CUT_IN_FIRST_TOKEN = std::string("CS0") + '\0' + "0A01";
    const std::string GROUPS[] = {"CS020A01", "NAVLNANA", "navlnana",         "CS02NA01",
                                  "CS020Ana", "NAVL0A01", GROUP_CUT_IN_FIRST, GROUP_CUT_IN_FIRST_TOKEN};
    const char *const MEMORY[] = {"20", "40", "60", "00", "NA", "na", "7F", "zz"};
    std::string field = Percent(95) ? "CD:" : "cd:";
    field += "00CS010A01";
    field += Percent(10) ? RandomBytes(8) : Pick(GROUPS);
    field += Percent(80) ? std::string(Pick(MEMORY)) : Token();
    return field;
}

// Status bytes around the real shape: binary bytes first, pairs ending in ";", the "CW:"
// and "CD:" fields in either order, missing, repeated, cut short or buried in noise.
std::string CSweepGenerator::Status()
{
    if (Percent(4))
        return "";
    if (Percent(4))
        return RandomBytes(Below(200));
    std::vector<std::string> pairs = {"ST:00", PrinterIdField(), DeviceField(), "PC:00012345"};
    if (Percent(10))
        pairs.erase(pairs.begin() + 1);
    else if (Percent(10))
        pairs.erase(pairs.begin() + 2);
    if (Percent(10)) { // both keys again, with other values: the first ones count
        pairs.push_back(PrinterIdField());
        pairs.push_back(DeviceField());
    }
    if (Percent(30))
        std::shuffle(pairs.begin(), pairs.end(), m_random);
    std::string bytes = RandomBytes(Below(6)) + Join(pairs, ";");
    if (Percent(5))
        bytes.insert(Below(static_cast<unsigned int>(bytes.size()) + 1), RandomBytes(1 + Below(40)));
    if (Percent(25)) {
        // Cut so that the last key stands in the last few bytes, around the field lengths.
        const size_t ENDS[] = {1, 2, 3, 4, 5, 16, 17, 18, 22, 23, 24};
        const std::string::size_type cw = bytes.rfind("CW:"), cd = bytes.rfind("CD:");
        const std::string::size_type key = cw == std::string::npos   ? cd
                                           : cd == std::string::npos ? cw
                                                                     : std::max(cw, cd);
        if (key == std::string::npos || Percent(20))
            bytes.resize(Below(static_cast<unsigned int>(bytes.size()) + 1));
        else
            bytes.resize(std::min(bytes.size(), key + Pick(ENDS)));
    }
    return bytes;
}

// Mostly the default table; otherwise random entries with duplicates and odd flags, an
// empty table, or a long one whose usable entries come last.
void CSweepGenerator::Channels(ZrapiScenario &scenario)
{
    if (Percent(50))
        return;
    scenario.NoChannels();
    if (Percent(10))
        return;
    if (Percent(2)) {
        for (size_t i = 0; i < MANY_CHANNELS; ++i)
            scenario.Channel(0x20000000 + static_cast<DWORD>(i), 1);
    }
    const DWORD KEYS[] = {PRIMARY, PRIMARY, FALLBACK, FALLBACK, OTHER_CHANNEL, 0, 0xFFFFFFFF};
    const WORD FLAGS[] = {0, 1, 1, 1, 2, 3, 0xFFFE, 0xFFFF};
    const unsigned int count = 1 + Below(6);
    for (unsigned int i = 0; i < count; ++i) {
        scenario.Add("channel " + HexKey(Pick(KEYS)) + " " + std::to_string(Pick(FLAGS)) +
                     (Percent(20) ? " " + std::to_string(Below(0x10000)) : std::string()));
    }
}

// Faults at any call position: the results with a meaning (-4, -13), other failures, odd
// successes, and sizes and counts that lie, around the real lengths and far beyond them.
void CSweepGenerator::Faults(ZrapiScenario &scenario, const std::string &strDeviceId,
                             const std::string &strStatus)
{
    const unsigned int COUNTS[] = {0, 0, 0, 1, 1, 1, 2, 2, 3};
    const LONG RESULTS[] = {-4, -4, -13, -13, -1, -1, -2, -3, -5, -9, LONG_MIN, 0, 1, 2, 3, 7, 100, LONG_MAX};
    const LONG ENTRY_COUNTS[] = {0, 1, 2, 3, 4, 10000, LONG_MAX, -1, -8};
    const LONG SIZES[] = {
        0,        1,  2,  4096,    65536, 7, 8, 9, 16, 17, 22, 23, 24, LARGEST_READ, BEYOND_LARGEST_READ,
        LONG_MAX, -1, -8, LONG_MIN};
    for (unsigned int n = Pick(COUNTS); n > 0; --n) {
        const std::string function = Percent(2) ? "ZRSend" : Pick(FUNCTIONS_CALLED);
        const LONG call = static_cast<LONG>(Below(5)); // 0: every call
        const bool isProbe =
            function == "ZRGetDeviceID" || function == "ZRGetAvailableChannel" || function == "ZRGetStatus";
        const unsigned int kind = Below(isProbe ? 3 : 2);
        if (kind == 0) {
            scenario.Fail(function, call, Pick(RESULTS));
        } else if (kind == 1) {
            const bool entryCount = function == "ZRGetAvailableChannel" && call % 2 == 0 && Percent(60);
            scenario.Result(function, call, entryCount ? Pick(ENTRY_COUNTS) : Pick(RESULTS));
        } else {
            const LONG length = static_cast<LONG>(function == "ZRGetDeviceID" ? strDeviceId.size() + 1
                                                  : function == "ZRGetStatus" ? strStatus.size()
                                                                              : 24);
            const LONG nearLength[] = {length - 1, length, length + 1, 2 * length};
            scenario.Size(function, call, Percent(30) ? Pick(nearLength) : Pick(SIZES));
        }
    }
}

OptionInfo CSweepGenerator::Input()
{
    OptionInfo info = {};
    switch (Below(6)) {
    case 0: // every field -1
        std::fill_n(reinterpret_cast<LONG *>(&info), sizeof(info) / sizeof(LONG), -1);
        break;
    case 1: // random values
        for (LONG *p = reinterpret_cast<LONG *>(&info); p < reinterpret_cast<LONG *>(&info + 1); ++p)
            *p = static_cast<LONG>(m_random());
        break;
    case 2: // a printer-ID count that the component does not use
        info.bHasPrinterId = 1;
        info.nPrinterIdCount = Percent(50) ? 0 : Percent(50) ? 7 : 0xFFFFFFFF;
        break;
    case 3:
        break; // zeros
    default: {
        info.bHasPrinterId = 1;
        info.nPrinterIdCount = 6;
        for (int k = 0; k < 6; ++k)
            info.nPrinterId[k] = 30 + 2 * k;
        info.bHasMemory = 1;
        info.nMemoryMB = 64;
        info.bHasPaperSource = 1;
        info.nPaperSource = 1;
        break;
    }
    }
    return info;
}
