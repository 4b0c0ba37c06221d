#include "entry/printer_query.h"

#include "model/printer_data.h"
#include "link/bidi_link.h"
#include "util/error.h"
#include "util/misc.h"

#include "res/common_ids.h"

namespace {
const int MESSAGE_INCOMPATIBLE_PRINTER = IDS_MESSAGE_INCOMPATIBLE_PRINTER - IDS_MESSAGE_BASE;
const UINT STOP_STYLE = MB_ICONHAND | MB_SETFOREGROUND;

bool QueryStatusForPlan(CBidiLink &link, LPCSTR pszPrinterName, ChannelPlan plan)
{
    switch (plan) {
    case CHANNEL_PLAN_NONE:
        return true;
    case CHANNEL_PLAN_FALLBACK:
        return link.QueryStatus(pszPrinterName, CHANNEL_KEY_FALLBACK) != FALSE;
    case CHANNEL_PLAN_PRIMARY:
        if (link.QueryStatus(pszPrinterName, CHANNEL_KEY_PRIMARY))
            return true;
        return link.m_nError == BIDI_ERR_CHANNEL_UNAVAILABLE &&
               link.QueryStatus(pszPrinterName, CHANNEL_KEY_FALLBACK);
    case CHANNEL_PLAN_FAIL:
        break;
    }
    return false;
}
} // namespace

BOOL CheckModel(LPCSTR pszCallerModel, LPCSTR pszPrinterModel)
{
    if (ModelsMatch(pszCallerModel, pszPrinterModel))
        return TRUE;
    // The message goes only where someone can close it: elsewhere the call would hang.
    if (!CMisc().CanUserSeeWindows())
        return FALSE;
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
    return ParseOptionFields(link.m_pResult, link.m_nResultSize, info);
}
