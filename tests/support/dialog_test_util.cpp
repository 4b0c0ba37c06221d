#include "support/dialog_test_util.h"

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
