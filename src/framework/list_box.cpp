#include "framework/list_box.h"

bool CListBox::GetText(int nIndex, CString &strText) const
{
    const LRESULT length = SendMessageA(m_hWnd, LB_GETTEXTLEN, static_cast<WPARAM>(nIndex), 0);
    if (length == LB_ERR || length < 0)
        return false;
    LPSTR pBuffer = strText.GetBuffer(static_cast<int>(length));
    if (!pBuffer)
        return false;
    const LRESULT copied =
        SendMessageA(m_hWnd, LB_GETTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(pBuffer));
    if (copied == LB_ERR || copied < 0) {
        strText.ReleaseBuffer(0);
        return false;
    }
    strText.ReleaseBuffer(static_cast<int>(copied < length ? copied : length));
    return true;
}
