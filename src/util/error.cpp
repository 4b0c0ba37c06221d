#include "util/error.h"

#include "framework/message_box.h"

namespace {
// Shown when the message resource is missing or empty; the same text in both builds.
const wchar_t UNDEFINED_ERROR_TEXT[] =
    L"\u672A\u5B9A\u7FA9\u306E\u30A8\u30E9\u30FC!\u30EA\u30BD\u30FC\u30B9\u306B\u6307\u5B9A"
    L"ID\u306E\u30A8\u30E9\u30FC\u6587\u5B57\u5217\u304C\u3042\u308A\u307E\u305B\u3093";

const UINT FORCED_STYLE = MB_TASKMODAL | MB_SETFOREGROUND;

// The fixed text in the system's ANSI code page, like every other text of the component.
void LoadUndefinedErrorText(CString &strText)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, UNDEFINED_ERROR_TEXT, -1, nullptr, 0, nullptr, nullptr);
    LPSTR pBuffer = size > 1 ? strText.GetBuffer(size - 1) : nullptr;
    if (!pBuffer) {
        strText.Empty();
        return;
    }
    WideCharToMultiByte(CP_ACP, 0, UNDEFINED_ERROR_TEXT, -1, pBuffer, size, nullptr, nullptr);
    strText.ReleaseBuffer(size - 1);
}

CString LoadParameter(LONG nBase, int nIndex)
{
    CString parameter;
    if (nIndex >= 0)
        parameter.LoadString(static_cast<UINT>(nBase + nIndex));
    return parameter;
}
} // namespace

CString CError::ComposeMessage(int nMessage, int nParam1, int nParam2) const
{
    CString message;
    AfxFormatString2(message, static_cast<UINT>(m_nMessageBase + nMessage),
                     LoadParameter(m_nParamBase, nParam1), LoadParameter(m_nParamBase, nParam2));
    if (message.IsEmpty())
        LoadUndefinedErrorText(message);
    return message;
}

int CError::ShowError(int nMessage, int nParam1, int nParam2, LPCSTR pszBefore, LPCSTR pszAfter,
                      LPCSTR pszCaption, UINT nStyle) const
{
    if (nMessage < 0)
        return IDCANCEL;
    CString text;
    if (pszBefore)
        text += pszBefore;
    text += ComposeMessage(nMessage, nParam1, nParam2);
    if (pszAfter)
        text += pszAfter;
    nStyle |= FORCED_STYLE;
    if (pszCaption)
        return AfxShowMessageBox(nullptr, text, pszCaption, nStyle);
    return AfxMessageBox(text, nStyle);
}
