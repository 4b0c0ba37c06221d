// Error messages composed from string resources: a message chosen relative to one base
// identifier, with up to two parameter texts chosen relative to a second base.
#pragma once

#include "framework/string.h"

class CError {
public:
    CError(LONG nMessageBase, LONG nParamBase) : m_nMessageBase(nMessageBase), m_nParamBase(nParamBase) {}
    virtual ~CError() = default;

    // Shows the message and returns the button that closed the box; IDCANCEL (2) at once
    // for a negative message index, 0 when the box could not be shown (also when memory ran
    // out while the text was put together). A negative parameter index means no parameter.
    int ShowError(int nMessage, int nParam1, int nParam2, LPCSTR pszBefore, LPCSTR pszAfter,
                  LPCSTR pszCaption, UINT nStyle) const;

    // The text ShowError would show, before the text around it is added.
    CString ComposeMessage(int nMessage, int nParam1, int nParam2) const;

    LONG m_nMessageBase;
    LONG m_nParamBase;
};
