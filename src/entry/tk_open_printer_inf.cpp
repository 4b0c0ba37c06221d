// The exported call: printer query, dialog and the choice of the record handed back.
#include "optinfo.h"

#include "dialog/printer_inf_dlg.h"
#include "entry/printer_query.h"
#include "model/printer_data.h"
#include "entry/printer_inf_app.h"
#include "framework/call_context.h"
#include "framework/heap.h"
#include "link/bidi_link.h"
#include "link/library_search.h"
#include "util/misc.h"

namespace {
const INT_PTR DIALOG_FAILED = -1;

// What the printer query of one call found out.
enum QueryOutcome {
    QUERY_OPTIONS_READ, // the record holds the printer's values
    QUERY_NOT_READ,     // no answer, or no options: the call goes on without them
    QUERY_CALL_FAILS,   // wrong printer, or a model the component does not support
};

void SetPresenceFlags(OptionInfo &info, LONG nModelIndex)
{
    info.bHasPrinterId = 1;
    info.nPrinterIdCount = PRINTER_ID_COUNT;
    const LONG hasOptions = nModelIndex == MODEL_INDEX_RX9100W ? 1 : 0;
    info.bHasMemory = hasOptions;
    info.bHasPaperSource = hasOptions;
}

// This link lives for the whole query; ReadDeviceOptions nests a second one inside it.
QueryOutcome QueryPrinter(LPCSTR pszPrinterName, LPCSTR pszModelName, LONG nModelIndex, OptionInfo &working)
{
    CBidiLink link;
    CString deviceId;
    if (!link.QueryDeviceId(pszPrinterName, deviceId))
        return QUERY_NOT_READ;
    CString printerModel;
    if (!ExtractModel(deviceId, printerModel))
        return QUERY_NOT_READ;
    if (!CheckModel(pszModelName, printerModel))
        return QUERY_CALL_FAILS;
    if (nModelIndex != MODEL_INDEX_RX7100W && nModelIndex != MODEL_INDEX_RX9100W)
        return QUERY_CALL_FAILS;
    SetPresenceFlags(working, nModelIndex);
    OptionInfo temporary = working;
    if (!ReadDeviceOptions(pszPrinterName, temporary))
        return QUERY_NOT_READ;
    working = temporary;
    return QUERY_OPTIONS_READ;
}

// Runs the dialog modally as the application's main window; returns its result.
INT_PTR RunDialog(LPCSTR pszPrinterName, LONG nModelIndex, BOOL bInfoStored, OptionInfo &working)
{
    // A dialog that nobody sees is never closed: it counts as one that could not be made.
    if (!CMisc().CanUserSeeWindows())
        return DIALOG_FAILED;
    CPrinterInfDlg dialog(nullptr);
    dialog.m_nModelIndex = nModelIndex;
    dialog.m_bInfoStored = bInfoStored;
    dialog.m_bSheetRequested = 0;
    dialog.m_strPrinterName = pszPrinterName;
    dialog.m_optionInfo = working;
    // A record without a count (a cleared one, or one that no query got to flag) would have
    // OK store none of the parts the user typed: the dialog gets the count the query sets.
    if (dialog.m_optionInfo.nPrinterIdCount == 0)
        dialog.m_optionInfo.nPrinterIdCount = PRINTER_ID_COUNT;
    // Without its printer's name the dialog would send the settings sheet nowhere.
    if (AfxIsOutOfMemory())
        return DIALOG_FAILED;

    // Nothing refers to the dialog through the call's main window once it is gone.
    theApp.SetMainWnd(&dialog);
    INT_PTR result = dialog.DoModal();
    theApp.SetMainWnd(nullptr);
    if (result == IDOK && !bInfoStored)
        working = dialog.m_optionInfo;
    return result;
}

LONG OpenPrinterInf(CCallContext &call, LPCSTR pszPrinterName, LPCSTR pszModelName, const OptionInfo *pInInfo,
                    OptionInfo *pOutInfo, BOOL bShowDialog, BOOL bQueryPrinter)
{
    // The links of this call load the file found here.
    if (!FindBidiLibrary(call.m_szLibraryPath))
        bQueryPrinter = FALSE;

    theApp.FindModel(pszModelName, call.m_nModelIndex);
    const LONG nModelIndex = call.m_nModelIndex;
    OptionInfo working;
    CopyFrom(working, pInInfo);

    BOOL bInfoStored = FALSE;
    if (bQueryPrinter) {
        QueryOutcome outcome = QueryPrinter(pszPrinterName, pszModelName, nModelIndex, working);
        // An answer read while memory ran out may be cut short: the call fails rather than
        // go on as if the printer had not answered.
        if (outcome == QUERY_CALL_FAILS || AfxIsOutOfMemory())
            return 0;
        bInfoStored = outcome == QUERY_OPTIONS_READ;
    }

    if (bShowDialog) {
        if (nModelIndex != MODEL_INDEX_RX9100W)
            return 0;
        INT_PTR result = RunDialog(pszPrinterName, nModelIndex, bInfoStored, working);
        // Whatever ended a dialog that ran out of memory, what it holds cannot be trusted.
        if (AfxIsOutOfMemory())
            return 0;
        // The printer's record is valid whether or not the dialog could show it. Without it,
        // only OK hands a record back: Cancel, a dialog that could not be made and any other
        // end (WM_QUIT, say) leave nothing that the caller could read.
        if (!bInfoStored && result != IDOK)
            return 0;
        CopyTo(working, pOutInfo);
        return 1;
    }

    if (bQueryPrinter && !bInfoStored)
        return 0;
    CopyTo(working, pOutInfo);
    return 1;
}
} // namespace

extern "C" LONG WINAPI TKOpenPrinterInf(LPCSTR pszPrinterName, LPCSTR pszModelName, DWORD /*dwReserved*/,
                                        const OptionInfo *pInInfo, OptionInfo *pOutInfo, BOOL bShowDialog,
                                        BOOL bQueryPrinter)
{
    if (!pOutInfo)
        return 0;
    // Everything of this call lives here. Memory that ran out in an earlier call, or in the
    // call this one is nested in, says nothing about this one, nor the other way round.
    CCallContext call;
    return OpenPrinterInf(call, pszPrinterName, pszModelName, pInInfo, pOutInfo, bShowDialog, bQueryPrinter);
}
