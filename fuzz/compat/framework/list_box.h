// Stands in for the framework's list-box control, whose header pulls in window messages
// that do not exist on Linux. Only what CMisc::GetListBoxField calls; never fuzzed.
#pragma once

#include "framework/string.h"

class CListBox {
public:
    int GetCount() const;
    bool GetText(int nIndex, CString &strText) const;
};
