// The framework's own message box: owned by the main window, captioned with the module name.
#pragma once

#include <windows.h>

int AfxMessageBox(LPCSTR pszText, UINT nType = MB_OK, UINT nIDHelp = 0);

// Shows string resource nIDPrompt; nIDHelp defaults to the prompt's own identifier.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

// MessageBoxA, except once memory has run out (framework/heap.h): a text put together then
// may lack a part, so nothing is shown and 0 comes back, as from a box that could not open.
int AfxShowMessageBox(HWND hOwner, LPCSTR pszText, LPCSTR pszCaption, UINT nType);
