// What the stand-ins of compat/stubs.cpp let a fuzz target observe.
#pragma once

#include <windows.h>

#include <string>

// Every message box that CError::ShowError would have shown since the last Reset.
struct ShownErrors {
    int nCount = 0;
    int nMessage = -1;
    int nParam1 = 0;
    int nParam2 = 0;
    bool bTextAround = false;
    std::string strCaption;
    UINT nStyle = 0;

    void Reset() { *this = ShownErrors(); }
};
extern ShownErrors g_shownErrors;

// The caption text that the string resource IDS_ERROR_CAPTION holds.
extern const char STAND_IN_CAPTION[];
