/*
 * optinfo.h - public interface of the printer-information component
 * (optinfo_en.dll / optinfo_ja.dll).
 *
 * One call, TKOpenPrinterInf, optionally asks the printer which model it is and
 * which options are installed, optionally shows the "Printer and Option
 * Information" dialog, and hands the resulting option record back.
 * Usable from C and C++; the library uses the __stdcall convention and exports
 * the function under its plain name.
 */
#ifndef OPTINFO_H
#define OPTINFO_H

#include <windows.h>

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
    LONG nMemoryMB;        /* installed memory in MB (0, 32, 64, 96); -1 = none  */
    LONG bHasPaperSource;  /* 0 or 1: nPaperSource holds a value                 */
    LONG nPaperSource;     /* 0 = none, 1 = second paper cassette; -1 = none     */
} OptionInfo;

/*
 * Returns 1 and writes *pOutInfo on success; returns 0 and leaves *pOutInfo
 * untouched for a different printer, an unsupported model, a failed printer
 * query, a cancelled dialog or a null pOutInfo.
 *   pszPrinterName  printer name as the spooler knows it
 *   pszModelName    "RX-7100W" or "RX-9100W"
 *   dwReserved      not read
 *   pInInfo         the caller's current record, or NULL for a cleared one
 *   pOutInfo        receives the result
 *   bShowDialog     nonzero: show the dialog (RX-9100W only)
 *   bQueryPrinter   nonzero: ask the printer through ZRAPI.DLL
 */
LONG WINAPI TKOpenPrinterInf(LPCSTR pszPrinterName, LPCSTR pszModelName, DWORD dwReserved,
                             const OptionInfo *pInInfo, OptionInfo *pOutInfo, BOOL bShowDialog,
                             BOOL bQueryPrinter);

/* For GetProcAddress(hModule, "TKOpenPrinterInf"). */
typedef LONG(WINAPI *PFN_TKOpenPrinterInf)(LPCSTR, LPCSTR, DWORD, const OptionInfo *, OptionInfo *, BOOL,
                                           BOOL);

#ifdef __cplusplus
}
#endif

/* The layout crosses the library boundary: fail the build if it ever drifts. */
#ifdef __cplusplus
#define OPTINFO_STATIC_ASSERT(cond, msg) static_assert(cond, msg)
#else
#define OPTINFO_STATIC_ASSERT(cond, msg) _Static_assert(cond, msg)
#endif
#include <stddef.h>
OPTINFO_STATIC_ASSERT(sizeof(OptionInfo) == 48, "OptionInfo must be 48 bytes");
OPTINFO_STATIC_ASSERT(offsetof(OptionInfo, nPrinterIdCount) == 4, "layout");
OPTINFO_STATIC_ASSERT(offsetof(OptionInfo, nPrinterId) == 8, "layout");
OPTINFO_STATIC_ASSERT(offsetof(OptionInfo, bHasMemory) == 32, "layout");
OPTINFO_STATIC_ASSERT(offsetof(OptionInfo, nMemoryMB) == 36, "layout");
OPTINFO_STATIC_ASSERT(offsetof(OptionInfo, bHasPaperSource) == 40, "layout");
OPTINFO_STATIC_ASSERT(offsetof(OptionInfo, nPaperSource) == 44, "layout");

#endif /* OPTINFO_H */
