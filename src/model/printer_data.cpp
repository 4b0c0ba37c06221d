#include "model/printer_data.h"

#include "framework/mbcs.h"
#include "util/misc.h"

#include <cstring>

namespace {
const char MODEL_KEY[] = "MDL:";
const char MODEL_END[] = ";";
const BYTE PRINTER_ID_KEY[] = {'C', 'W', ':'};
const BYTE DEVICE_KEY[] = {'C', 'D', ':'};
const LONG KEY_LENGTH = 3;

const char TOKEN_NOT_AVAILABLE[] = "NA";
const char GROUP_NOT_AVAILABLE[] = "NAVL";

// Field layouts, in bytes from the key's first character.
const LONG PRINTER_ID_TOKEN_OFFSET = 5;
const LONG CD_GROUP_OFFSET = 5;
const LONG CD_GROUP_SIZE = 8;
const LONG CD_MEMORY_OFFSET = CD_GROUP_OFFSET + CD_GROUP_SIZE * CD_GROUP_COUNT;
const LONG TOKEN_LENGTH = 2;
const LONG GROUP_TOKEN_LENGTH = 4;
const LONG CW_FIELD_LENGTH = PRINTER_ID_TOKEN_OFFSET + TOKEN_LENGTH * PRINTER_ID_COUNT;
const LONG CD_FIELD_LENGTH = CD_MEMORY_OFFSET + TOKEN_LENGTH;

// A field that the reply cuts short counts as not found: nothing past the reply is read.
const BYTE *FindField(const BYTE *pBytes, LONG nCount, const BYTE *pKey, LONG nFieldLength)
{
    const BYTE *pFound = nullptr;
    if (!CMisc().FindKey(pBytes, nCount, pKey, KEY_LENGTH, &pFound))
        return nullptr;
    return (pBytes + nCount) - pFound >= nFieldLength ? pFound : nullptr;
}

// A token of the field as zero-terminated text: it stops at an embedded zero byte.
struct Token {
    char szText[GROUP_TOKEN_LENGTH + 1];
};

Token TokenAt(const BYTE *pField, LONG nOffset, LONG nLength)
{
    Token token = {};
    std::memcpy(token.szText, pField + nOffset, static_cast<size_t>(nLength));
    return token;
}

// A value token: two hexadecimal digits, or "NA"; anything else counts as 0.
LONG ValueOfToken(const BYTE *pField, LONG nOffset)
{
    const Token token = TokenAt(pField, nOffset, TOKEN_LENGTH);
    LONG value = 0;
    if (CompareNoCase(token.szText, TOKEN_NOT_AVAILABLE) == 0 || !CMisc().HexToInt(token.szText, &value))
        return 0;
    return value;
}

bool IsNotAvailable(const BYTE *pField, LONG nOffset, LONG nLength, const char *pszToken)
{
    return CompareNoCase(TokenAt(pField, nOffset, nLength).szText, pszToken) == 0;
}

bool IsGroupAvailable(const BYTE *pField, int nGroup)
{
    const LONG start = CD_GROUP_OFFSET + CD_GROUP_SIZE * nGroup;
    return !IsNotAvailable(pField, start, GROUP_TOKEN_LENGTH, GROUP_NOT_AVAILABLE) &&
           !IsNotAvailable(pField, start + GROUP_TOKEN_LENGTH, TOKEN_LENGTH, TOKEN_NOT_AVAILABLE) &&
           !IsNotAvailable(pField, start + GROUP_TOKEN_LENGTH + TOKEN_LENGTH, TOKEN_LENGTH,
                           TOKEN_NOT_AVAILABLE);
}
} // namespace

BOOL ExtractModel(const CString &strDeviceId, CString &strModel)
{
    strModel.Empty();
    const int key = strDeviceId.Find(MODEL_KEY);
    if (key < 0)
        return FALSE;
    const int start = key + static_cast<int>(sizeof(MODEL_KEY) - 1);
    const int end = strDeviceId.Find(MODEL_END, start);
    if (end < 0)
        return FALSE;
    strModel = strDeviceId.Mid(start, end - start);
    // A model cut short for want of memory is not the printer's.
    return strModel.GetLength() == end - start;
}

BOOL ModelsMatch(LPCSTR pszCallerModel, LPCSTR pszPrinterModel)
{
    const LPCSTR pszCaller = pszCallerModel ? pszCallerModel : "";
    const LPCSTR pszPrinter = pszPrinterModel ? pszPrinterModel : "";
    return CompareNoCase(pszCaller, pszPrinter) == 0;
}

BOOL ParseOptionFields(const BYTE *pBytes, LONG nCount, OptionInfo &info)
{
    BOOL result = TRUE;
    if (info.bHasPrinterId) {
        const BYTE *pField = FindField(pBytes, nCount, PRINTER_ID_KEY, CW_FIELD_LENGTH);
        if (!pField) {
            result = FALSE;
        } else {
            for (LONG k = 0; k < PRINTER_ID_COUNT; ++k)
                info.nPrinterId[k] = ValueOfToken(pField, PRINTER_ID_TOKEN_OFFSET + TOKEN_LENGTH * k);
        }
    }
    if (info.bHasMemory) {
        const BYTE *pField = FindField(pBytes, nCount, DEVICE_KEY, CD_FIELD_LENGTH);
        if (!pField)
            result = FALSE;
        else
            info.nMemoryMB = ValueOfToken(pField, CD_MEMORY_OFFSET);
    }
    if (info.bHasPaperSource) {
        const BYTE *pField = FindField(pBytes, nCount, DEVICE_KEY, CD_FIELD_LENGTH);
        if (!pField) {
            result = FALSE;
        } else {
            LONG count = 0;
            for (int g = 1; g < CD_GROUP_COUNT; ++g)
                count += IsGroupAvailable(pField, g) ? 1 : 0;
            info.nPaperSource = count;
        }
    }
    return result;
}
