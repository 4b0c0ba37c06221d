#include "model/option_info.h"

const char ModelTable[MODEL_COUNT][MODEL_NAME_SIZE] = {
    "RX-7100W",
    "RX-9100W",
};
