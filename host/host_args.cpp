#include "host_args.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

const char HOST_USAGE[] = "usage: optinfo-host [--lang en|ja] [--printer NAME] [--model NAME]\n"
                          "                    [--in v0,v1,...,v11] [--reserved N] [--query] [--dialog]\n";

namespace {
const int FIELD_COUNT = 12;

bool ParseLong(const std::string &strText, long long lo, long long hi, long long &value)
{
    if (strText.empty())
        return false;
    char *pEnd = nullptr;
    errno = 0;
    value = std::strtoll(strText.c_str(), &pEnd, 0);
    return errno == 0 && *pEnd == '\0' && value >= lo && value <= hi;
}

bool ParseRecord(const std::string &strText, OptionInfo &info)
{
    LONG *pFields = reinterpret_cast<LONG *>(&info);
    std::stringstream stream(strText);
    std::string item;
    int count = 0;
    while (std::getline(stream, item, ',')) {
        long long value = 0;
        if (count == FIELD_COUNT || !ParseLong(item, -2147483648LL, 4294967295LL, value))
            return false;
        pFields[count++] = static_cast<LONG>(value);
    }
    return count == FIELD_COUNT && strText.back() != ',';
}
} // namespace

bool ParseHostArgs(int argc, char **argv, HostArgs &args, std::string &strError)
{
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        bool hasValue = i + 1 < argc;
        auto needValue = [&]() {
            if (!hasValue)
                strError = "missing value for " + option;
            return hasValue;
        };
        if (option == "--query") {
            args.bQueryPrinter = TRUE;
        } else if (option == "--dialog") {
            args.bShowDialog = TRUE;
        } else if (option == "--lang") {
            if (!needValue())
                return false;
            args.strLanguage = argv[++i];
            if (args.strLanguage != "en" && args.strLanguage != "ja") {
                strError = "--lang takes en or ja";
                return false;
            }
        } else if (option == "--printer") {
            if (!needValue())
                return false;
            args.strPrinter = argv[++i];
        } else if (option == "--model") {
            if (!needValue())
                return false;
            args.strModel = argv[++i];
        } else if (option == "--in") {
            if (!needValue())
                return false;
            args.bHasInput = true;
            if (!ParseRecord(argv[++i], args.input)) {
                strError = "--in takes twelve comma-separated integers";
                return false;
            }
        } else if (option == "--reserved") {
            if (!needValue())
                return false;
            long long value = 0;
            if (!ParseLong(argv[++i], 0, 4294967295LL, value)) {
                strError = "--reserved takes an unsigned 32-bit number";
                return false;
            }
            args.dwReserved = static_cast<DWORD>(value);
        } else {
            strError = "unknown argument " + option;
            return false;
        }
    }
    return true;
}
