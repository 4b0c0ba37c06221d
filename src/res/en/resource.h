// Control identifiers of the English resource set.
#pragma once

#include "common_ids.h"

#define IDC_MBYTE_LABEL 1013
#define IDC_PRINTER_ID_GROUP 1014
