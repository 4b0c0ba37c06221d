/*
 * optinfo.h - public interface of the printer-information component
 * (optinfo_en.dll / optinfo_ja.dll).
 *
 * One call, TKOpenPrinterInf, optionally asks the printer which model it is and
 * which options are installed, optionally shows the "Printer and Option
 * Information" dialog, and hands the resulting option record back.
 * Usable from C89 and C++98 on; the library uses the __stdcall convention and
 * exports the function under its plain name. docs/integrating.md has the whole
 * contract: on which systems the options are read, every outcome, threads.
 */
#ifndef OPTINFO_H
#define OPTINFO_H

#include <stddef.h>
#include <windows.h>

/* The version of this header and of the DLLs' version resource. A new first
 * number may break callers; a new second one adds or changes behaviour without
 * breaking them; a new third one only fixes faults. */
#define OPTINFO_VERSION_MAJOR 1
#define OPTINFO_VERSION_MINOR 0
#define OPTINFO_VERSION_PATCH 0

#ifdef __cplusplus
extern "C" {
#endif

/* The option record: twelve 32-bit little-endian integers, 48 bytes, no gaps.
 * A plain record in C and C++ alike: OptionInfo info = {0}; starts it cleared. */
typedef struct OptionInfo {
    LONG bHasPrinterId;    /* 0 or 1: nPrinterId holds values                   */
    DWORD nPrinterIdCount; /* entries of nPrinterId in use (the component uses 6) */
    LONG nPrinterId[6];    /* printer-ID parts; -1 = no value                    */
    LONG bHasMemory;       /* 0 or 1: nMemoryMB holds a value                    */
    LONG nMemoryMB;        /* installed MB: 0 to 255 as read from the printer,
                              0, 32, 64 or 96 as entered in the dialog; -1 = none */
    LONG bHasPaperSource;  /* 0 or 1: nPaperSource holds a value                 */
    LONG nPaperSource;     /* 0 = none, 1 = second paper cassette; -1 = none     */
} OptionInfo;

/*
 * Returns 1 and writes *pOutInfo, or returns 0 and leaves it untouched.
 *   pszPrinterName  printer name as the spooler knows it (NULL is handed to
 *                   ZRAPI.DLL as it is, and the settings sheet goes nowhere)
 *   pszModelName    "RX-7100W" or "RX-9100W", in any case; NULL matches no
 *                   model (with the query: a different printer)
 *   dwReserved      not read; pass 0
 *   pInInfo         the caller's current record, or NULL for a cleared one
 *   pOutInfo        receives the result; NULL fails the call
 *   bShowDialog     nonzero: show the dialog (RX-9100W only)
 *   bQueryPrinter   nonzero: ask the printer through ZRAPI.DLL
 *
 * Returns 1 with:
 *   - neither query nor dialog: the input record (zeros for NULL), any model;
 *   - a query without the dialog that read the options: the input record with
 *     the printer's values and flags (the options are read on Windows 95,
 *     NT 3.51 and NT 4.0 only; elsewhere such a call returns 0);
 *   - ZRAPI.DLL not installed: as without the query, so a query-only call
 *     hands back the input record (pass NULL: bHasPrinterId 0 then tells);
 *   - the dialog after the options were read: the printer's values, whatever
 *     ends the dialog, also where it cannot be shown;
 *   - the dialog without the options read: the values entered, on OK; a
 *     record with nPrinterIdCount 0 (NULL too) counts as 6 there, so all six
 *     parts typed are kept.
 * Returns 0 for: a different printer connected (a message tells the user); a
 * model read from the printer that the component does not support; a query
 * without the dialog that read no options (no answer, or a system that reads
 * none); the dialog for a model other than RX-9100W, also after a read; without
 * the options read, a dialog ended by Cancel or anything but OK, or one that
 * cannot be shown; memory running out anywhere in the call.
 * No window is shown where no user can see it, so the call cannot wait for
 * ever on one: in session 0 of Windows Vista and later (the spooler's), and in
 * a window station that Windows NT reports not visible (a non-interactive
 * service's). There the dialog counts as one that cannot be shown. On Windows
 * 2000, XP and 2003 an interactive service's session 0 is the console's: the
 * windows show there, and wait for a user at the console.
 */
LONG WINAPI TKOpenPrinterInf(LPCSTR pszPrinterName, LPCSTR pszModelName, DWORD dwReserved,
                             const OptionInfo *pInInfo, OptionInfo *pOutInfo, BOOL bShowDialog,
                             BOOL bQueryPrinter);

/* For GetProcAddress(hModule, "TKOpenPrinterInf"). */
typedef LONG(WINAPI *PFN_TKOpenPrinterInf)(LPCSTR, LPCSTR, DWORD, const OptionInfo *, OptionInfo *, BOOL,
                                           BOOL);

/* The layout crosses the library boundary: an array of negative size stops the
 * build, in every C and C++ version, if it ever drifts. */
typedef char
    OptionInfoLayoutCheck[(sizeof(OptionInfo) == 48 && offsetof(OptionInfo, nPrinterIdCount) == 4 &&
                           offsetof(OptionInfo, nPrinterId) == 8 && offsetof(OptionInfo, bHasMemory) == 32 &&
                           offsetof(OptionInfo, nMemoryMB) == 36 &&
                           offsetof(OptionInfo, bHasPaperSource) == 40 &&
                           offsetof(OptionInfo, nPaperSource) == 44)
                              ? 1
                              : -1];

#ifdef __cplusplus
}
#endif

#endif /* OPTINFO_H */
