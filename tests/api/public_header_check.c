/* The record brace-initialised as callers write it. Built, never run: a form that the
 * public header does not allow fails the build. Also built as C++ (public_header_check.cpp). */
#include "optinfo.h"

LONG CheckBraceInitialisation(void)
{
    OptionInfo cleared = {0};
    OptionInfo full = {1, 6, {30, 32, 34, 36, 38, 40}, 1, 64, 1, 1};
    return cleared.nMemoryMB + full.nMemoryMB;
}
