#include "scenario_text.h"

#include <string.h>

namespace zrapi {
namespace {
const char FIRST_PRINTABLE = 0x20;
const char LAST_PRINTABLE = 0x7E;
const char HEX_DIGITS[] = "0123456789abcdef";

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

CText &CText::Add(const char *pBytes, size_t nLength)
{
    const size_t count = nLength < CAPACITY - m_nLength ? nLength : CAPACITY - m_nLength;
    memcpy(m_text + m_nLength, pBytes, count);
    m_nLength += count;
    return *this;
}

CText &CText::Add(const char *pszText)
{
    return Add(pszText, strlen(pszText));
}

CText &CText::AddNumber(long nValue)
{
    // Built backwards from the last digit; the magnitude is unsigned so that the most
    // negative value has one too.
    char digits[24];
    size_t at = sizeof(digits);
    const unsigned long value = static_cast<unsigned long>(nValue);
    unsigned long magnitude = nValue < 0 ? 0ul - value : value;
    do {
        digits[--at] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    if (nValue < 0)
        digits[--at] = '-';
    return Add(digits + at, sizeof(digits) - at);
}

CText &CText::AddHex(unsigned long dwValue)
{
    char text[10] = {'0', 'x'};
    for (int i = 0; i < 8; ++i)
        text[2 + i] = HEX_DIGITS[(dwValue >> (28 - 4 * i)) & 0xF];
    return Add(text, sizeof(text));
}

CText &CText::AddEscaped(const char *pBytes, size_t nLength)
{
    for (size_t i = 0; i < nLength; ++i) {
        char escaped[MAX_ESCAPE_LENGTH];
        Add(escaped, EscapeByte(pBytes[i], escaped));
    }
    return *this;
}

CText &CText::AddQuoted(const char *pBytes, size_t nLength)
{
    return Add("\"").AddEscaped(pBytes, nLength).Add("\"");
}

size_t EscapeByte(char c, char (&out)[MAX_ESCAPE_LENGTH])
{
    if (c == '\\' || c == '"') {
        out[0] = '\\';
        out[1] = c;
        return 2;
    }
    if (c >= FIRST_PRINTABLE && c <= LAST_PRINTABLE) {
        out[0] = c;
        return 1;
    }
    const unsigned char byte = static_cast<unsigned char>(c);
    out[0] = '\\';
    out[1] = 'x';
    out[2] = HEX_DIGITS[byte >> 4];
    out[3] = HEX_DIGITS[byte & 0xF];
    return 4;
}

bool Unescape(const char *pText, size_t nLength, char *pBytes, size_t &nBytes, CText &error)
{
    nBytes = 0;
    for (size_t i = 0; i < nLength; ++i) {
        if (pText[i] != '\\') {
            pBytes[nBytes++] = pText[i];
            continue;
        }
        if (++i == nLength) {
            error.Add("a backslash ends the text");
            return false;
        }
        if (pText[i] == 'x') {
            int high = i + 1 < nLength ? HexDigit(pText[i + 1]) : -1;
            int low = i + 2 < nLength ? HexDigit(pText[i + 2]) : -1;
            if (high < 0 || low < 0) {
                error.Add("\\x needs two hexadecimal digits");
                return false;
            }
            pBytes[nBytes++] = static_cast<char>(high * 16 + low);
            i += 2;
            continue;
        }
        int byte = SimpleEscape(pText[i]);
        if (byte < 0) {
            error.Add("unknown escape \\").Add(pText + i, 1);
            return false;
        }
        pBytes[nBytes++] = static_cast<char>(byte);
    }
    return true;
}

} // namespace zrapi
