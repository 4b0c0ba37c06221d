// CString's texts from the module's string table. They live apart from the text type
// (string.cpp), which the parsers of printer data also use where no module is at hand.
#include "framework/string.h"

#include "framework/app.h"

#include <utility>

namespace {
// The component's strings are short; any resource string of it fits.
const int RESOURCE_STRING_SIZE = 1024;
} // namespace

BOOL CString::LoadString(UINT nId)
{
    char buffer[RESOURCE_STRING_SIZE];
    const int length = ::LoadStringA(AfxGetResourceHandle(), nId, buffer, RESOURCE_STRING_SIZE);
    Assign(buffer, length);
    return !IsEmpty();
}

// One pass, so that a parameter text containing "%2" is not substituted again. The result
// is composed apart and taken over at the end: it may be one of the parameters.
void AfxFormatString2(CString &strResult, UINT nId, LPCSTR psz1, LPCSTR psz2)
{
    CString format;
    format.LoadString(nId);
    CString result;
    const LPCSTR pszFormat = format;
    for (int i = 0; i < format.GetLength(); ++i) {
        if (pszFormat[i] == '%' && (pszFormat[i + 1] == '1' || pszFormat[i + 1] == '2')) {
            result += pszFormat[i + 1] == '1' ? psz1 : psz2;
            ++i;
        } else {
            result += pszFormat[i];
        }
    }
    strResult = std::move(result);
}
