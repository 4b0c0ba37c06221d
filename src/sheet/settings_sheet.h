// The settings-sheet request: a fixed command stream that makes the printer print its
// settings, sent as one raw job.
#pragma once

#include <windows.h>

#include <array>

const size_t SETTINGS_SHEET_REQUEST_SIZE = 68;
using SettingsSheetRequest = std::array<BYTE, SETTINGS_SHEET_REQUEST_SIZE>;

// The request's bytes, composed from their pieces.
SettingsSheetRequest ComposeSettingsSheetRequest();

// Sends the request to the named printer; nonzero when the spooler took the whole job.
BOOL SendSettingsSheetRequest(LPCSTR pszPrinterName);
