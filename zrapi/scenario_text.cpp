#include "scenario_text.h"

#include <cstdio>

namespace zrapi {
namespace {
const char FIRST_PRINTABLE = 0x20;
const char LAST_PRINTABLE = 0x7E;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The byte that a one-letter escape stands for, or -1.
int SimpleEscape(char c)
{
    switch (c) {
    case '\\':
        return '\\';
    case '"':
        return '"';
    case '0':
        return 0;
    case 't':
        return '\t';
    case 'r':
        return '\r';
    case 'n':
        return '\n';
    default:
        return -1;
    }
}
} // namespace

std::string Escape(const std::string &strBytes)
{
    std::string text;
    for (char c : strBytes) {
        if (c == '\\' || c == '"') {
            text += '\\';
            text += c;
        } else if (c >= FIRST_PRINTABLE && c <= LAST_PRINTABLE) {
            text += c;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof(hex), "\\x%02x", static_cast<unsigned char>(c));
            text += hex;
        }
    }
    return text;
}

bool Unescape(const std::string &strText, std::string &strBytes, std::string &strError)
{
    strBytes.clear();
    for (std::string::size_type i = 0; i < strText.size(); ++i) {
        if (strText[i] != '\\') {
            strBytes += strText[i];
            continue;
        }
        if (++i == strText.size()) {
            strError = "a backslash ends the text";
            return false;
        }
        if (strText[i] == 'x') {
            int high = i + 1 < strText.size() ? HexDigit(strText[i + 1]) : -1;
            int low = i + 2 < strText.size() ? HexDigit(strText[i + 2]) : -1;
            if (high < 0 || low < 0) {
                strError = "\\x needs two hexadecimal digits";
                return false;
            }
            strBytes += static_cast<char>(high * 16 + low);
            i += 2;
            continue;
        }
        int byte = SimpleEscape(strText[i]);
        if (byte < 0) {
            strError = std::string("unknown escape \\") + strText[i];
            return false;
        }
        strBytes += static_cast<char>(byte);
    }
    return true;
}

} // namespace zrapi
