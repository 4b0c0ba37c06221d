#include "entry/device_id.h"

#include "framework/mbcs.h"
#include "link/bidi_link.h"
#include "util/error.h"
#include "util/misc.h"

#include "res/common_ids.h"

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

const int MESSAGE_INCOMPATIBLE_PRINTER = IDS_MESSAGE_INCOMPATIBLE_PRINTER - IDS_MESSAGE_BASE;
const UINT STOP_STYLE = MB_ICONHAND | MB_SETFOREGROUND;

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

BOOL QueryStatusForPlan(CBidiLink &link, LPCSTR pszPrinterName, ChannelPlan plan)
{
    switch (plan) {
    case CHANNEL_PLAN_NONE:
        return TRUE;
    case CHANNEL_PLAN_FALLBACK:
        return link.QueryStatus(pszPrinterName, CHANNEL_KEY_FALLBACK);
    case CHANNEL_PLAN_PRIMARY:
        if (link.QueryStatus(pszPrinterName, CHANNEL_KEY_PRIMARY))
            return TRUE;
        return link.m_nError == BIDI_ERR_CHANNEL_UNAVAILABLE &&
               link.QueryStatus(pszPrinterName, CHANNEL_KEY_FALLBACK);
    case CHANNEL_PLAN_FAIL:
        break;
    }
    return FALSE;
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
    return strModel.GetLength() == end - start ? TRUE : FALSE;
}

BOOL CheckModel(LPCSTR pszCallerModel, LPCSTR pszPrinterModel)
{
    if (CompareNoCase(pszCallerModel ? pszCallerModel : "", pszPrinterModel ? pszPrinterModel : "") == 0)
        return TRUE;
    CString caption;
    caption.LoadString(IDS_ERROR_CAPTION);
    CError(IDS_MESSAGE_BASE, IDS_PARAM_BASE)
        .ShowError(MESSAGE_INCOMPATIBLE_PRINTER, -1, -1, nullptr, nullptr, caption, STOP_STYLE);
    return FALSE;
}

ChannelPlan ChannelPlanFor(LONG nSystemVersionCode)
{
    switch (nSystemVersionCode) {
    case SYSVER_WIN95:
    case SYSVER_NT40:
        return CHANNEL_PLAN_PRIMARY;
    case SYSVER_NT351:
        return CHANNEL_PLAN_FALLBACK;
    case SYSVER_WIN95_LATER:
        return CHANNEL_PLAN_NONE;
    default:
        return CHANNEL_PLAN_FAIL;
    }
}

BOOL ReadDeviceOptions(LPCSTR pszPrinterName, OptionInfo &info)
{
    CBidiLink link;
    const LONG NO_CODE = -1;
    LONG code = NO_CODE;
    ChannelPlan plan = CMisc().GetSystemVersion(&code) ? ChannelPlanFor(code) : CHANNEL_PLAN_NONE;
    if (!QueryStatusForPlan(link, pszPrinterName, plan))
        return FALSE;
    return ParseOptionFields(link.m_pResult, link.m_nResultSize, info) ? TRUE : FALSE;
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
