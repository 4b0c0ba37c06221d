// A list-box control object of the framework stand-in.
#pragma once

#include "framework/window.h"

#include <string>

class CListBox : public CWnd {
public:
    int GetCount() const { return static_cast<int>(SendMessageA(m_hWnd, LB_GETCOUNT, 0, 0)); }

    // The whole text of item nIndex; false when the item cannot be read.
    bool GetText(int nIndex, std::string &strText) const;
};
