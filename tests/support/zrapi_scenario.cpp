#include "support/zrapi_scenario.h"

#include "support/wine_test_support.h"

#include "scenario_text.h"
#include "zrapi_default_scenario.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace {
const char SCENARIO_VARIABLE[] = "ZRAPI_SCENARIO";
const char LOG_VARIABLE[] = "ZRAPI_LOG";
const char RESULT_ARROW[] = "->";

std::string HexKey(DWORD dwKey)
{
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lx", static_cast<unsigned long>(dwKey));
    return text;
}

std::string CallText(LONG nCall)
{
    return nCall == 0 ? std::string("*") : std::to_string(nCall);
}

// Splits a log line at spaces, keeping a quoted value with its spaces in one word.
std::vector<std::string> LogWords(const std::string &strLine)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    for (std::string::size_type i = 0; i < strLine.size(); ++i) {
        char c = strLine[i];
        if (c == ' ' && !quoted) {
            if (!word.empty())
                words.push_back(word);
            word.clear();
            continue;
        }
        if (c == '\\' && quoted && i + 1 < strLine.size()) {
            word += c;
            c = strLine[++i];
        } else if (c == '"') {
            quoted = !quoted;
        }
        word += c;
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

std::string Escaped(const std::string &strBytes)
{
    std::string text;
    for (char c : strBytes) {
        char escaped[zrapi::MAX_ESCAPE_LENGTH];
        text.append(escaped, zrapi::EscapeByte(c, escaped));
    }
    return text;
}

std::string LogValue(const std::string &strValue)
{
    if (strValue.size() < 2 || strValue.front() != '"' || strValue.back() != '"')
        return strValue;
    std::string bytes(strValue.size() - 2, '\0');
    size_t count = 0;
    zrapi::CText error;
    zrapi::Unescape(strValue.data() + 1, bytes.size(), &bytes[0], count, error);
    bytes.resize(count);
    return bytes;
}

std::string BytesText(zrapi::Bytes bytes)
{
    return std::string(bytes.pData, static_cast<size_t>(bytes.nLength));
}

ZrapiCall ParseLogLine(const std::string &strLine)
{
    ZrapiCall call;
    std::vector<std::string> words = LogWords(strLine);
    if (words.empty())
        return call;
    call.strFunction = words[0];
    std::map<std::string, std::string> *pFields = &call.inputs;
    for (std::vector<std::string>::size_type i = 1; i < words.size(); ++i) {
        if (words[i] == RESULT_ARROW && i + 1 < words.size()) {
            call.bHasResult = true;
            call.nResult = std::stol(words[++i]);
            pFields = &call.outputs;
            continue;
        }
        std::string::size_type equals = words[i].find('=');
        (*pFields)[words[i].substr(0, equals)] =
            equals == std::string::npos ? "" : LogValue(words[i].substr(equals + 1));
    }
    return call;
}

std::string CurrentTestName()
{
    const ::testing::TestInfo *pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!pInfo)
        return "zrapi";
    std::string name = std::string(pInfo->test_suite_name()) + "." + pInfo->name();
    for (char &c : name) {
        if (c == '/' || c == '\\')
            c = '_';
    }
    return name;
}

void WriteText(const std::string &strPath, const std::string &strText)
{
    std::ofstream file(strPath, std::ios::binary | std::ios::trunc);
    file << strText;
}
} // namespace

ZrapiScenario::ZrapiScenario()
{
    std::string text = ZRAPI_DEFAULT_SCENARIO;
    std::string::size_type start = 0;
    for (std::string::size_type end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        m_lines.push_back(text.substr(start, end - start));
    m_lines.push_back(text.substr(start));
}

ZrapiScenario &ZrapiScenario::Remove(const std::string &strPrefix)
{
    std::vector<std::string> kept;
    for (const std::string &line : m_lines) {
        if (line.compare(0, strPrefix.size(), strPrefix) != 0)
            kept.push_back(line);
    }
    m_lines.swap(kept);
    return *this;
}

ZrapiScenario &ZrapiScenario::Add(const std::string &strLine)
{
    m_lines.push_back(strLine);
    return *this;
}

ZrapiScenario &ZrapiScenario::DeviceId(const std::string &strBytes)
{
    return Remove("device_id").Add("device_id " + Escaped(strBytes));
}

ZrapiScenario &ZrapiScenario::NoChannels()
{
    return Remove("channel ");
}

ZrapiScenario &ZrapiScenario::Channel(DWORD dwKey, WORD wFlags)
{
    return Add("channel " + HexKey(dwKey) + " " + std::to_string(wFlags));
}

ZrapiScenario &ZrapiScenario::Status(DWORD dwKey, const std::string &strBytes)
{
    return Remove("status " + HexKey(dwKey)).Add("status " + HexKey(dwKey) + " " + Escaped(strBytes));
}

ZrapiScenario &ZrapiScenario::Fail(const std::string &strFunction, LONG nCall, LONG nResult)
{
    return Add("fail " + strFunction + " " + CallText(nCall) + " " + std::to_string(nResult));
}

ZrapiScenario &ZrapiScenario::Result(const std::string &strFunction, LONG nCall, LONG nResult)
{
    return Add("result " + strFunction + " " + CallText(nCall) + " " + std::to_string(nResult));
}

ZrapiScenario &ZrapiScenario::Size(const std::string &strFunction, LONG nCall, LONG nSize)
{
    return Add("size " + strFunction + " " + CallText(nCall) + " " + std::to_string(nSize));
}

std::string ZrapiScenario::Text() const
{
    std::string text;
    for (const std::string &line : m_lines)
        text += line + "\n";
    return text;
}

ZrapiParsedScenario::ZrapiParsedScenario(const std::string &strText)
    : m_pScenario(std::make_shared<zrapi::CScenario>())
{
    zrapi::CText error;
    EXPECT_TRUE(m_pScenario->Parse(strText.data(), strText.size(), error))
        << std::string(error.Data(), error.Length());
}

std::string ZrapiParsedScenario::DeviceId() const
{
    const std::string reply = BytesText(m_pScenario->DeviceId());
    return reply.substr(0, reply.size() - 1);
}

std::string ZrapiParsedScenario::StatusOf(DWORD dwKey) const
{
    return BytesText(m_pScenario->StatusOf(dwKey));
}

ZrapiParsedScenario ZrapiScenario::Parsed() const
{
    return ZrapiParsedScenario(Text());
}

std::vector<ZrapiCall> ParseZrapiLog(const std::string &strText)
{
    std::vector<ZrapiCall> calls;
    std::string::size_type start = 0;
    while (start < strText.size()) {
        std::string::size_type end = strText.find('\n', start);
        std::string line = strText.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            calls.push_back(ParseLogLine(line));
        start = end == std::string::npos ? strText.size() : end + 1;
    }
    return calls;
}

ZrapiSession::ZrapiSession(const ZrapiScenario &scenario)
{
    const std::string name = CurrentTestName();
    m_strScenarioPath = ScratchPath(name + ".scenario");
    m_strLogPath = ScratchPath(name + ".log");
    WriteText(m_strScenarioPath, scenario.Text());
    SetEnvironmentVariableA(SCENARIO_VARIABLE, m_strScenarioPath.c_str());
    SetEnvironmentVariableA(LOG_VARIABLE, m_strLogPath.c_str());
}

ZrapiSession::~ZrapiSession()
{
    SetEnvironmentVariableA(SCENARIO_VARIABLE, nullptr);
    SetEnvironmentVariableA(LOG_VARIABLE, nullptr);
}

std::vector<ZrapiCall> ZrapiSession::Calls() const
{
    return ParseZrapiLog(ReadFileText(m_strLogPath));
}

std::vector<std::string> ZrapiSession::Functions() const
{
    std::vector<std::string> names;
    for (const ZrapiCall &call : Calls())
        names.push_back(call.strFunction);
    return names;
}

::testing::AssertionResult ZrapiSession::UnloadedClean() const
{
    if (GetModuleHandleA("ZRAPI.DLL"))
        return ::testing::AssertionFailure() << "ZRAPI.DLL is still loaded";
    int loads = 0;
    for (const ZrapiCall &call : Calls()) {
        if (call.strFunction == "load") {
            ++loads;
        } else if (call.strFunction == "unload") {
            --loads;
            if (call.inputs.at("starts") != "0" || call.inputs.at("channels") != "0")
                return ::testing::AssertionFailure() << "unloaded with starts=" << call.inputs.at("starts")
                                                     << " channels=" << call.inputs.at("channels");
        }
    }
    if (loads != 0)
        return ::testing::AssertionFailure() << loads << " load(s) without an unload in " << m_strLogPath;
    return ::testing::AssertionSuccess();
}
