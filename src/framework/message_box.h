// The framework's own message box: owned by the main window, captioned with the module name.
#pragma once

#include <windows.h>

int AfxMessageBox(LPCSTR pszText, UINT nType = MB_OK, UINT nIDHelp = 0);

// Shows string resource nIDPrompt; nIDHelp defaults to the prompt's own identifier.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));
