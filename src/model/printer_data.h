// What the printer says about itself, read as data: the model in its IEEE 1284 device ID,
// and the printer ID, memory and paper source in its status fields "CW:" and "CD:". No
// message and no printer link here: entry/printer_query.h asks the printer and tells the user.
#pragma once

#include "model/option_info.h"
#include "framework/string.h"

// Number of eight-character groups in the "CD:" field.
const int CD_GROUP_COUNT = 2;

// The value of "MDL:", which must end with ";"; 1 when found (0 also when memory ran out).
BOOL ExtractModel(const CString &strDeviceId, CString &strModel);

// 1 when the two model names are equal ignoring case; a null name counts as empty.
BOOL ModelsMatch(LPCSTR pszCallerModel, LPCSTR pszPrinterModel);

// 1 when every field asked for by a flag was found; values are stored as found.
BOOL ParseOptionFields(const BYTE *pBytes, LONG nCount, OptionInfo &info);
