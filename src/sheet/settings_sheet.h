// The settings-sheet request: a fixed command stream that makes the printer print its
// settings, sent as one raw job.
#pragma once

#include <windows.h>

#include <vector>

// The request's bytes, composed from their pieces.
std::vector<BYTE> ComposeSettingsSheetRequest();

// Sends the request to the named printer; nonzero when the spooler took the whole job.
BOOL SendSettingsSheetRequest(LPCSTR pszPrinterName);
