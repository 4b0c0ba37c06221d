// Where the printer maker's library ZRAPI.DLL is looked for. The system's own search would
// also look in the current folder, which belongs to whatever program opened the printer's
// properties (a document folder, a download, a share): a ZRAPI.DLL planted there would run
// inside that program. So the component looks only where an installed library can be.
#pragma once

#include <windows.h>

// Looks for ZRAPI.DLL in the calling program's folder, the system folder, the 16-bit system
// folder, the Windows folder and the absolute folders of PATH, in this order; never in the
// current folder or a PATH entry relative to it. TRUE when found: szPath holds its full path.
BOOL FindBidiLibrary(char (&szPath)[MAX_PATH]);
