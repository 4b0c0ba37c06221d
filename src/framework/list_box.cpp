#include "framework/list_box.h"

#include <vector>

bool CListBox::GetText(int nIndex, std::string &strText) const
{
    LRESULT length = SendMessageA(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    if (length == LB_ERR || length < 0)
        return false;
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    LRESULT copied = SendMessageA(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(nIndex),
                                  reinterpret_cast<LPARAM>(buffer.data()));
    if (copied == LB_ERR || copied < 0)
        return false;
    strText.assign(buffer.data(), static_cast<size_t>(copied) <= static_cast<size_t>(length)
                                      ? static_cast<size_t>(copied)
                                      : static_cast<size_t>(length));
    return true;
}
