// The option record exchanged with the caller, and the table of supported models.
#pragma once

#include "optinfo.h"

const LONG PRINTER_ID_COUNT = 6;

// The record's value operations, kept out of the public header so that callers get a plain
// record in C and C++ alike.

// Sets all twelve fields to 0.
inline void Clear(OptionInfo &info)
{
    info = OptionInfo();
}

// A copy of *pSource, or a cleared record when pSource is null; returns info.
inline OptionInfo &CopyFrom(OptionInfo &info, const OptionInfo *pSource)
{
    if (pSource)
        info = *pSource;
    else
        Clear(info);
    return info;
}

// Copies the record into *pTarget, which must not be null.
inline void CopyTo(const OptionInfo &info, OptionInfo *pTarget)
{
    *pTarget = info;
}

const int MODEL_COUNT = 2;
const int MODEL_NAME_SIZE = 48;
extern const char ModelTable[MODEL_COUNT][MODEL_NAME_SIZE];

// Model indexes of ModelTable; -1 when the name is not in it.
const LONG MODEL_INDEX_NONE = -1;
const LONG MODEL_INDEX_RX7100W = 0;
const LONG MODEL_INDEX_RX9100W = 1;
