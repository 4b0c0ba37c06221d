// PLACEHOLDER until the print job lands.
#include "sheet/settings_sheet.h"

std::vector<BYTE> ComposeSettingsSheetRequest()
{
    return {};
}
BOOL SendSettingsSheetRequest(LPCSTR)
{
    return FALSE;
}
