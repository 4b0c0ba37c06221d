#include "support/component.h"

#include "support/wine_test_support.h"

Component::Component(const std::string &strLanguage, const std::string &strFolder)
    : m_hModule(LoadLibraryA(
          ((strFolder.empty() ? TestBinFolder() : strFolder) + "optinfo_" + strLanguage + ".dll").c_str())),
      m_pfnOpen(nullptr)
{
    if (m_hModule)
        m_pfnOpen = reinterpret_cast<PFN_TKOpenPrinterInf>(
            reinterpret_cast<void (*)()>(GetProcAddress(m_hModule, "TKOpenPrinterInf")));
}

Component::~Component()
{
    if (m_hModule)
        FreeLibrary(m_hModule);
}
