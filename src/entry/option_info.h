// The option record exchanged with the caller, and the table of supported models.
#pragma once

#include "optinfo.h"

const LONG PRINTER_ID_COUNT = 6;

const int MODEL_COUNT = 2;
const int MODEL_NAME_SIZE = 48;
extern const char ModelTable[MODEL_COUNT][MODEL_NAME_SIZE];

// Model indexes of ModelTable; -1 when the name is not in it.
const LONG MODEL_INDEX_NONE = -1;
const LONG MODEL_INDEX_RX7100W = 0;
const LONG MODEL_INDEX_RX9100W = 1;
