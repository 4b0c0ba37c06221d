// Where the printer maker's library ZRAPI.DLL is looked for: only in folders that a driver
// package or the host controls. The system's own search would also look in the current
// folder and the folders of PATH, which whatever program opened the printer's properties
// controls (a document folder, a download, a share), or which ordinary users may write: a
// ZRAPI.DLL planted there would run inside that program, or with the rights of a privileged
// host such as the spooler.
#pragma once

#include <windows.h>

// Looks for ZRAPI.DLL in the calling program's folder, the component's own folder, the system
// folder, the 16-bit system folder and the Windows folder, in this order; never in the
// current folder or on PATH. The last two are the system's, also on a Terminal Server. TRUE
// when found: szPath holds its full path; else it is empty.
BOOL FindBidiLibrary(char (&szPath)[MAX_PATH]);

// The path that ZRAPI.DLL would have in the folder of cchFolder bytes, which may end with a
// separator or not; FALSE when there is no folder or the path does not fit.
BOOL BidiLibraryPathIn(const char *pFolder, UINT cchFolder, char (&szPath)[MAX_PATH]);
