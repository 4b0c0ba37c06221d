// Escaped byte text, as the virtual printer's scenario files and call log write it:
// printable ASCII stands for itself; \\ \" \0 \t \r \n and \xHH stand for one byte each.
// The printer builds its texts in fixed buffers: it allocates nothing, so that it needs no
// C++ runtime state per load.
#pragma once

#include <stddef.h>

namespace zrapi {

// A text of at most CAPACITY bytes, built by appending; what does not fit is cut off.
class CText {
public:
    static constexpr size_t CAPACITY = 8192;

    const char *Data() const { return m_text; }
    size_t Length() const { return m_nLength; }

    CText &Add(const char *pBytes, size_t nLength);
    CText &Add(const char *pszText);
    CText &Add(const CText &text) { return Add(text.m_text, text.m_nLength); }
    CText &AddNumber(long nValue);
    // 0x and eight hexadecimal digits.
    CText &AddHex(unsigned long dwValue);
    CText &AddEscaped(const char *pBytes, size_t nLength);
    // The escaped bytes between double quotes.
    CText &AddQuoted(const char *pBytes, size_t nLength);

private:
    char m_text[CAPACITY];
    size_t m_nLength = 0;
};

// The most characters that one byte escapes to.
const size_t MAX_ESCAPE_LENGTH = 4;

// Writes the text that stands for the byte to out; returns its length.
size_t EscapeByte(char c, char (&out)[MAX_ESCAPE_LENGTH]);

// Writes the bytes of the escaped text to pBytes, which has room for nLength bytes (the
// bytes never outnumber the text), and their count to nBytes. False, with the reason
// added to error, when an escape is malformed.
bool Unescape(const char *pText, size_t nLength, char *pBytes, size_t &nBytes, CText &error);

} // namespace zrapi
