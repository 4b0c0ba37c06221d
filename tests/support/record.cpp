#include "support/record.h"

#include <cstring>

OptionInfo Record(std::initializer_list<LONG> fields)
{
    OptionInfo info = {};
    LONG *pField = reinterpret_cast<LONG *>(&info);
    for (LONG value : fields)
        *pField++ = value;
    return info;
}

std::string Fields(const OptionInfo &info)
{
    const LONG *pField = reinterpret_cast<const LONG *>(&info);
    std::string text;
    for (size_t i = 0; i < sizeof(info) / sizeof(LONG); ++i)
        text += (i ? " " : "") + std::to_string(pField[i]);
    return text;
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
