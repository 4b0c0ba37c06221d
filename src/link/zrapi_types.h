// The functions of ZRAPI.DLL, bound by their plain names at run time.
#pragma once

#include "framework/module.h"

#include <windows.h>

extern "C" {
typedef LONG(WINAPI *PFN_ZRInitialize)(void);
typedef LONG(WINAPI *PFN_ZRRelease)(void);
typedef LONG(WINAPI *PFN_ZRGetDeviceID)(LONG nSelector, LPCSTR pszPrinterName, BYTE *pBuffer, LONG *pnSize);
typedef LONG(WINAPI *PFN_ZRGetAvailableChannel)(LONG nSelector, LPCSTR pszPrinterName, BYTE *pBuffer,
                                                LONG *pnSize);
typedef LONG(WINAPI *PFN_ZROpenChannel)(LONG nSelector, LPCSTR pszPrinterName, DWORD dwChannelKey);
typedef LONG(WINAPI *PFN_ZRCloseChannel)(LONG nChannel);
typedef LONG(WINAPI *PFN_ZRGetStatus)(LONG nChannel, BYTE *pBuffer, LONG *pnSize);
// Bound but never called: their arguments are not part of what the component relies on.
typedef LONG(WINAPI *PFN_ZRSend)(void);
typedef LONG(WINAPI *PFN_ZRReceive)(void);
typedef LONG(WINAPI *PFN_ZRReceiveCancel)(void);
typedef LONG(WINAPI *PFN_ZRSetOption)(void);
typedef LONG(WINAPI *PFN_ZRGetOption)(void);
}

// Results with a meaning of their own.
const LONG ZR_SIZE_PROBED = -4;  // a size probe answered with the size needed
const LONG ZR_NOT_STARTED = -13; // ZRInitialize refused: no ZRRelease follows

const char ZRAPI_FILE_NAME[] = "ZRAPI.DLL";
