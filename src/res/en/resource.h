// Control identifiers of the English resource set. The two that the sets number differently
// reach the code through language_controls.rc2.
#pragma once

#include "common_ids.h"

#define IDC_MBYTE_LABEL 1013
#define IDC_PRINTER_ID_GROUP 1014
