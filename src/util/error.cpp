#include "util/error.h"

#include "framework/app.h"
#include "framework/message_box.h"

namespace {
// Shown when the message resource is missing or empty; the same text in both builds.
const wchar_t UNDEFINED_ERROR_TEXT[] =
    L"\u672A\u5B9A\u7FA9\u306E\u30A8\u30E9\u30FC!\u30EA\u30BD\u30FC\u30B9\u306B\u6307\u5B9A"
    L"ID\u306E\u30A8\u30E9\u30FC\u6587\u5B57\u5217\u304C\u3042\u308A\u307E\u305B\u3093";

const UINT FORCED_STYLE = MB_TASKMODAL | MB_SETFOREGROUND;

// The fixed text in the system's ANSI code page, like every other text of the component.
std::string UndefinedErrorText()
{
    int size = WideCharToMultiByte(CP_ACP, 0, UNDEFINED_ERROR_TEXT, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return std::string();
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, UNDEFINED_ERROR_TEXT, -1, &text[0], size, nullptr, nullptr);
    text.resize(static_cast<size_t>(size) - 1);
    return text;
}

std::string LoadParameter(LONG nBase, int nIndex)
{
    return nIndex >= 0 ? AfxLoadString(static_cast<UINT>(nBase + nIndex)) : std::string();
}
} // namespace

std::string CError::ComposeMessage(int nMessage, int nParam1, int nParam2) const
{
    std::string message = AfxFormatString2(static_cast<UINT>(m_nMessageBase + nMessage),
                                           LoadParameter(m_nParamBase, nParam1).c_str(),
                                           LoadParameter(m_nParamBase, nParam2).c_str());
    return message.empty() ? UndefinedErrorText() : message;
}

int CError::ShowError(int nMessage, int nParam1, int nParam2, LPCSTR pszBefore, LPCSTR pszAfter,
                      LPCSTR pszCaption, UINT nStyle) const
{
    if (nMessage < 0)
        return IDCANCEL;
    std::string text;
    if (pszBefore)
        text += pszBefore;
    text += ComposeMessage(nMessage, nParam1, nParam2);
    if (pszAfter)
        text += pszAfter;
    nStyle |= FORCED_STYLE;
    if (pszCaption)
        return MessageBoxA(nullptr, text.c_str(), pszCaption, nStyle);
    return AfxMessageBox(text.c_str(), nStyle);
}
