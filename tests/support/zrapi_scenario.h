// Drives the virtual printer ZRAPI.DLL from a test: writes its scenario file, points the
// library at it and reads back the call log. zrapi/README.md describes both formats.
#pragma once

#include "scenario.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// A scenario as the printer reads it, by the printer's own parser, for expectations.
class ZrapiParsedScenario {
public:
    explicit ZrapiParsedScenario(const std::string &strText);

    // The device ID without the zero byte that the printer delivers after it.
    std::string DeviceId() const;
    // The status bytes of a channel key; empty for a key without a status line.
    std::string StatusOf(DWORD dwKey) const;
    const zrapi::CScenario &Printer() const { return *m_pScenario; }

private:
    std::shared_ptr<zrapi::CScenario> m_pScenario; // over a megabyte: not on the stack
};

// A scenario as lines of scenario text, starting from the printer's default one.
class ZrapiScenario {
public:
    ZrapiScenario(); // the default: RX-9100W, 64 MB, second cassette, printer ID 30..40

    // Drops every line that starts with the prefix ("channel", "status 0x10010003", ...).
    ZrapiScenario &Remove(const std::string &strPrefix);
    // Appends a line as it stands.
    ZrapiScenario &Add(const std::string &strLine);

    // Shorthands over Remove and Add; byte texts are escaped here.
    ZrapiScenario &DeviceId(const std::string &strBytes);
    ZrapiScenario &NoChannels();
    ZrapiScenario &Channel(DWORD dwKey, WORD wFlags);
    ZrapiScenario &Status(DWORD dwKey, const std::string &strBytes);
    // Faults: nCall counts the function's calls in one load from 1; 0 means every call.
    ZrapiScenario &Fail(const std::string &strFunction, LONG nCall, LONG nResult);
    ZrapiScenario &Result(const std::string &strFunction, LONG nCall, LONG nResult);
    ZrapiScenario &Size(const std::string &strFunction, LONG nCall, LONG nSize);

    std::string Text() const;
    // The scenario as the printer reads it, for expectations (device ID, status bytes).
    ZrapiParsedScenario Parsed() const;

private:
    std::vector<std::string> m_lines;
};

// One line of the call log: "<function> <inputs> -> <result> <outputs>", or the "load" and
// "unload" lines, which have no result.
struct ZrapiCall {
    std::string strFunction;
    std::map<std::string, std::string> inputs; // quoted values come unescaped
    bool bHasResult = false;
    LONG nResult = 0;
    std::map<std::string, std::string> outputs;
};

std::vector<ZrapiCall> ParseZrapiLog(const std::string &strText);

// While alive, every load of ZRAPI.DLL in this process (and in processes started from it)
// reads this scenario and logs to a fresh file named after the running test. The two
// variables are cleared at the end; a load reads them only when it attaches.
class ZrapiSession {
public:
    explicit ZrapiSession(const ZrapiScenario &scenario = ZrapiScenario());
    ~ZrapiSession();
    ZrapiSession(const ZrapiSession &) = delete;
    ZrapiSession &operator=(const ZrapiSession &) = delete;

    std::vector<ZrapiCall> Calls() const;
    // Only the function names, in order, "load" and "unload" included.
    std::vector<std::string> Functions() const;
    // The library is no longer loaded, and every load ended with no start left unreleased
    // and no channel left open.
    ::testing::AssertionResult UnloadedClean() const;

    std::string m_strScenarioPath;
    std::string m_strLogPath;
};
