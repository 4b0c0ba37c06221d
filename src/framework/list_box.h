// A list-box control object of the framework stand-in.
#pragma once

#include "framework/string.h"
#include "framework/window.h"

class CListBox : public CWnd {
public:
    int GetCount() const { return static_cast<int>(SendMessageA(m_hWnd, LB_GETCOUNT, 0, 0)); }

    // The whole text of item nIndex; false when the item cannot be read.
    bool GetText(int nIndex, CString &strText) const;

    // Tab stops in dialog template units.
    void SetTabStops(int nTabStop)
    {
        SendMessageA(m_hWnd, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&nTabStop));
    }
    void ResetContent() { SendMessageA(m_hWnd, LB_RESETCONTENT, 0, 0); }
    void AddString(LPCSTR pszText)
    {
        SendMessageA(m_hWnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszText));
    }
    void SetCurSel(int nIndex) { SendMessageA(m_hWnd, LB_SETCURSEL, static_cast<WPARAM>(nIndex), 0); }
    // True when item nIndex is selected (false also for an index beyond the list).
    bool IsSelected(int nIndex) const
    {
        return SendMessageA(m_hWnd, LB_GETSEL, static_cast<WPARAM>(nIndex), 0) > 0;
    }
};
