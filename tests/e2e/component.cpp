#include "component.h"

#include "support/wine_test_support.h"

#include <cstring>

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

OptionInfo Canary()
{
    OptionInfo info;
    std::memset(static_cast<void *>(&info), 0xA5, sizeof(info));
    return info;
}

bool IsCanary(const OptionInfo &info)
{
    return SameRecord(info, Canary());
}

OptionInfo CallerRecord()
{
    OptionInfo info;
    info.bHasPrinterId = 1;
    info.nPrinterIdCount = 6;
    const LONG ids[6] = {30, 32, 34, 36, 38, 40};
    std::memcpy(info.nPrinterId, ids, sizeof(ids));
    info.bHasMemory = 1;
    info.nMemoryMB = 64;
    info.bHasPaperSource = 1;
    info.nPaperSource = 1;
    return info;
}

bool SameRecord(const OptionInfo &a, const OptionInfo &b)
{
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}
