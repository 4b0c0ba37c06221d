// Control identifiers of the Japanese resource set.
#pragma once

#include "common_ids.h"

#define IDC_MBYTE_LABEL 1014
#define IDC_PRINTER_ID_GROUP 1013
