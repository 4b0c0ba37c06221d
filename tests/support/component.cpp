#include "support/component.h"

#include "support/wine_test_support.h"

Component::Component(const std::string &strLanguage)
    : m_hModule(LoadLibraryA((TestBinFolder() + "optinfo_" + strLanguage + ".dll").c_str())),
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
