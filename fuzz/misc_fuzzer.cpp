// Fuzzes the utilities that read printer data and list-box texts: CMisc::FindKey,
// CMisc::HexToInt and CMisc::GetTabField. The first byte of the input chooses the key
// length and the field number; the rest is the data.
#include "util/misc.h"

#include "fuzz_support.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {
const size_t MAX_KEY_LENGTH = 8;
// Beyond this many fields the round trip costs more than it finds.
const size_t MAX_ROUND_TRIP_FIELDS = 64;

// Exactly-sized heap copies, so that AddressSanitizer sees any read past the count.
std::unique_ptr<BYTE[]> ExactCopy(const uint8_t *pData, size_t nSize)
{
    std::unique_ptr<BYTE[]> copy(new BYTE[nSize]);
    std::copy(pData, pData + nSize, copy.get());
    return copy;
}

void FuzzFindKey(const uint8_t *pData, size_t nSize, size_t nKeyLength)
{
    nKeyLength = std::min(nKeyLength, nSize);
    const std::unique_ptr<BYTE[]> key = ExactCopy(pData, nKeyLength);
    const size_t count = nSize - nKeyLength;
    const std::unique_ptr<BYTE[]> bytes = ExactCopy(pData + nKeyLength, count);

    const BYTE *pFound = nullptr;
    const BOOL found = CMisc().FindKey(bytes.get(), static_cast<LONG>(count), key.get(),
                                       static_cast<LONG>(nKeyLength), &pFound);
    // The first match that ends before the last byte; an empty key matches nothing.
    const BYTE *pExpected = nullptr;
    if (nKeyLength > 0 && count > 0) {
        const BYTE *pBegin = bytes.get();
        const BYTE *pEnd = pBegin + count - 1;
        const BYTE *pMatch = std::search(pBegin, pEnd, key.get(), key.get() + nKeyLength);
        pExpected = pMatch == pEnd ? nullptr : pMatch;
    }
    FUZZ_CHECK(found == (pExpected ? TRUE : FALSE));
    if (!found) {
        FUZZ_CHECK(pFound == nullptr);
        return;
    }
    FUZZ_CHECK(pFound == pExpected);
    FUZZ_CHECK(pFound >= bytes.get() && pFound + nKeyLength < bytes.get() + count);
    FUZZ_CHECK(std::equal(key.get(), key.get() + nKeyLength, pFound));
}

void FuzzHexToInt(const std::string &strText)
{
    const bool valid =
        !strText.empty() && strText.size() <= 8 &&
        std::all_of(strText.begin(), strText.end(), [](char c) { return std::isxdigit(c) != 0; });
    const LONG BEFORE = 0x7EADBEEF;
    LONG value = BEFORE;
    const BOOL converted = CMisc().HexToInt(strText.c_str(), &value);
    FUZZ_CHECK(converted == (valid ? TRUE : FALSE));
    if (!valid) {
        FUZZ_CHECK(value == BEFORE);
        return;
    }
    FUZZ_CHECK(static_cast<DWORD>(value) == static_cast<DWORD>(std::strtoul(strText.c_str(), nullptr, 16)));
}

// CMisc::GetTabField on a copy of the text, whose result (the field, or the text unchanged)
// comes back in strField.
BOOL GetTabField(const CMisc &misc, const std::string &strText, int nField, std::string &strField)
{
    CString text(strText.data(), static_cast<int>(strText.size()));
    const BOOL found = misc.GetTabField(text, nField);
    strField.assign(text, static_cast<size_t>(text.GetLength()));
    return found;
}

// Tabs that start a character: the second byte of a double-byte character is no tab.
size_t CountTabs(const std::string &strText)
{
    const std::vector<bool> starts = CharacterStarts(strText);
    size_t tabs = 0;
    for (size_t i = 0; i < strText.size(); ++i)
        tabs += (starts[i] && strText[i] == '\t') ? 1 : 0;
    return tabs;
}

void FuzzGetTabField(const std::string &strText, int nField)
{
    CMisc misc;
    std::string field;
    const size_t fields = strText.empty() ? 0 : CountTabs(strText) + 1;
    const bool exists = nField >= 0 && static_cast<size_t>(nField) < fields;
    FUZZ_CHECK(GetTabField(misc, strText, nField, field) == (exists ? TRUE : FALSE));
    if (!exists) {
        FUZZ_CHECK(field == strText);
        return;
    }
    FUZZ_CHECK(CountTabs(field) == 0);

    // The fields, joined again by tabs, give back the text.
    if (fields > MAX_ROUND_TRIP_FIELDS)
        return;
    std::string joined;
    for (size_t n = 0; n < fields; ++n) {
        std::string part;
        FUZZ_CHECK(GetTabField(misc, strText, static_cast<int>(n), part));
        joined += (n ? "\t" : "") + part;
    }
    FUZZ_CHECK(joined == strText);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t nSize)
{
    if (nSize == 0) {
        const BYTE *pFound = nullptr;
        FUZZ_CHECK(!CMisc().FindKey(nullptr, 0, reinterpret_cast<const BYTE *>("CW:"), 3, &pFound));
        return 0;
    }
    const uint8_t choice = pData[0];
    const std::string rest(reinterpret_cast<const char *>(pData + 1), nSize - 1);
    FuzzFindKey(pData + 1, nSize - 1, choice % (MAX_KEY_LENGTH + 1));
    FuzzHexToInt(UpToZero(rest));
    // Mostly small field numbers, sometimes a negative one.
    FuzzGetTabField(rest, static_cast<int8_t>(choice) / 4);
    return 0;
}
