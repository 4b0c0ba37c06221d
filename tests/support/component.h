// The real component DLL of one language, loaded from the test's own folder or another.
#pragma once

#include "optinfo.h"

#include <string>

class Component {
public:
    // strFolder ends with a backslash; empty: the test's own folder.
    explicit Component(const std::string &strLanguage = "en", const std::string &strFolder = "");
    ~Component();
    Component(const Component &) = delete;
    Component &operator=(const Component &) = delete;

    bool Loaded() const { return m_pfnOpen != nullptr; }
    HMODULE Module() const { return m_hModule; }

    LONG Call(LPCSTR pszPrinter, LPCSTR pszModel, const OptionInfo *pIn, OptionInfo *pOut, BOOL bShowDialog,
              BOOL bQueryPrinter, DWORD dwReserved = 0) const
    {
        return m_pfnOpen(pszPrinter, pszModel, dwReserved, pIn, pOut, bShowDialog, bQueryPrinter);
    }

private:
    HMODULE m_hModule;
    PFN_TKOpenPrinterInf m_pfnOpen;
};
