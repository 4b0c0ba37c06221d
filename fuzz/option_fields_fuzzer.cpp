// Fuzzes ParseOptionFields: the fuzzer's bytes are the status reply, read with every
// combination of the three flags, and judged against an independent reading of the
// "CW:" and "CD:" field layouts.
#include "model/printer_data.h"

#include "fuzz_support.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace {
// The parser only ever stores 0..255; -1 is what a caller holds for "no value".
const LONG UNTOUCHED = -1;
const LONG CW_LENGTH = 17;
const LONG CW_FIRST_TOKEN = 5;
const LONG CD_LENGTH = 23;
const LONG CD_MEMORY = 21;
const LONG CD_GROUP1 = 13;

struct Reply {
    const BYTE *pBytes;
    LONG nCount;
};

// The field of the first occurrence of the key, or null when there is none or the reply
// cuts it short. A key that ends with the reply's last byte is not looked at.
const BYTE *Field(const Reply &reply, const char *pszKey, LONG nLength)
{
    if (reply.nCount < 1)
        return nullptr;
    const BYTE *pEnd = reply.pBytes + reply.nCount - 1;
    const BYTE *pKey = std::search(reply.pBytes, pEnd, pszKey, pszKey + 3);
    if (pKey == pEnd || reply.pBytes + reply.nCount - pKey < nLength)
        return nullptr;
    return pKey;
}

int HexDigit(BYTE c)
{
    const char *pDigits = "0123456789abcdef";
    const char lower = static_cast<char>(c >= 'A' && c <= 'F' ? c - 'A' + 'a' : c);
    const char *p = c ? std::strchr(pDigits, lower) : nullptr;
    return p ? static_cast<int>(p - pDigits) : -1;
}

// A two-byte token read as zero-terminated text: one or two hexadecimal digits, else 0.
LONG TokenValue(const BYTE *pToken)
{
    const int high = HexDigit(pToken[0]);
    if (high < 0)
        return 0;
    if (pToken[1] == 0)
        return high;
    const int low = HexDigit(pToken[1]);
    return low < 0 ? 0 : high * 16 + low;
}

bool TokenIs(const BYTE *pToken, size_t nLength, const char *pszWord)
{
    return EqualNoCase(UpToZero(std::string(reinterpret_cast<const char *>(pToken), nLength)), pszWord);
}

OptionInfo Asking(int nMask, LONG nFlag, DWORD nIdCount)
{
    OptionInfo info;
    info.bHasPrinterId = (nMask & 1) ? nFlag : 0;
    info.nPrinterIdCount = nIdCount;
    std::fill(std::begin(info.nPrinterId), std::end(info.nPrinterId), UNTOUCHED);
    info.bHasMemory = (nMask & 2) ? nFlag : 0;
    info.nMemoryMB = UNTOUCHED;
    info.bHasPaperSource = (nMask & 4) ? nFlag : 0;
    info.nPaperSource = UNTOUCHED;
    return info;
}

// Runs one combination of flags and checks every field of the record against the
// independent reading; returns the result.
BOOL ParseAndJudge(const Reply &reply, int nMask, LONG nFlag, DWORD nIdCount)
{
    const OptionInfo before = Asking(nMask, nFlag, nIdCount);
    OptionInfo info = before;
    const BOOL result = ParseOptionFields(reply.pBytes, reply.nCount, info);

    // The flags and the count are read, never written.
    FUZZ_CHECK(info.bHasPrinterId == before.bHasPrinterId && info.bHasMemory == before.bHasMemory &&
               info.bHasPaperSource == before.bHasPaperSource && info.nPrinterIdCount == nIdCount);

    const BYTE *pCw = Field(reply, "CW:", CW_LENGTH);
    const BYTE *pCd = Field(reply, "CD:", CD_LENGTH);
    bool allFound = true;
    for (int k = 0; k < PRINTER_ID_COUNT; ++k) {
        // All six are written whatever the count says, or none.
        const LONG expected =
            (info.bHasPrinterId && pCw) ? TokenValue(pCw + CW_FIRST_TOKEN + 2 * k) : UNTOUCHED;
        FUZZ_CHECK(info.nPrinterId[k] == UNTOUCHED || (info.nPrinterId[k] >= 0 && info.nPrinterId[k] <= 255));
        FUZZ_CHECK(info.nPrinterId[k] == expected);
    }
    allFound = allFound && (!info.bHasPrinterId || pCw);

    const LONG memory = (info.bHasMemory && pCd) ? TokenValue(pCd + CD_MEMORY) : UNTOUCHED;
    FUZZ_CHECK(info.nMemoryMB == UNTOUCHED || (info.nMemoryMB >= 0 && info.nMemoryMB <= 255));
    FUZZ_CHECK(info.nMemoryMB == memory);
    allFound = allFound && (!info.bHasMemory || pCd);

    LONG paper = UNTOUCHED;
    if (info.bHasPaperSource && pCd) {
        const BYTE *pGroup = pCd + CD_GROUP1;
        const bool available =
            !TokenIs(pGroup, 4, "NAVL") && !TokenIs(pGroup + 4, 2, "NA") && !TokenIs(pGroup + 6, 2, "NA");
        paper = available ? 1 : 0;
    }
    FUZZ_CHECK(info.nPaperSource == paper);
    allFound = allFound && (!info.bHasPaperSource || pCd);

    FUZZ_CHECK(result == (allFound ? TRUE : FALSE));
    return result;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t nSize)
{
    const Reply reply = {pData, static_cast<LONG>(nSize)};
    BOOL single[3] = {};
    for (int bit = 0; bit < 3; ++bit)
        single[bit] = ParseAndJudge(reply, 1 << bit, TRUE, PRINTER_ID_COUNT);
    // Every combination: each section runs on its own, whatever the others found.
    for (int mask = 0; mask < 8; ++mask) {
        BOOL expected = TRUE;
        for (int bit = 0; bit < 3; ++bit)
            expected = expected && ((mask & (1 << bit)) == 0 || single[bit]);
        FUZZ_CHECK(ParseAndJudge(reply, mask, TRUE, PRINTER_ID_COUNT) == expected);
    }
    // A caller's record of all -1 (flags and count included) reads like one of 1s.
    FUZZ_CHECK(ParseAndJudge(reply, 7, -1, 0xFFFFFFFF) == ParseAndJudge(reply, 7, TRUE, 0));
    // A reply size that went negative finds nothing and writes nothing.
    const Reply negative = {pData, -static_cast<LONG>(nSize) - 1};
    FUZZ_CHECK(ParseAndJudge(negative, 7, TRUE, PRINTER_ID_COUNT) == FALSE);
    return 0;
}
