// Fuzzes the device ID interpretation: ExtractModel on any bytes, then ModelsMatch (the
// comparison behind CheckModel) of what it found against both supported model names.
#include "model/printer_data.h"

#include "fuzz_support.h"

#include <cstdint>
#include <string>

namespace {
const std::string KEY = "MDL:";

// What ExtractModel must find: the value after the first "MDL:" that starts a character,
// up to the first ";" that starts a character after it.
bool ExpectedModel(const std::string &strDeviceId, std::string &strModel)
{
    const std::vector<bool> starts = CharacterStarts(strDeviceId);
    size_t key = std::string::npos;
    for (size_t i = 0; i < strDeviceId.size() && key == std::string::npos; ++i) {
        if (starts[i] && strDeviceId.compare(i, KEY.size(), KEY) == 0)
            key = i;
    }
    if (key == std::string::npos)
        return false;
    for (size_t i = key + KEY.size(); i < strDeviceId.size(); ++i) {
        if (starts[i] && strDeviceId[i] == ';') {
            strModel = strDeviceId.substr(key + KEY.size(), i - key - KEY.size());
            return true;
        }
    }
    return false;
}

void CheckAgainst(const char *pszExpected, const std::string &strModel)
{
    const BOOL same = EqualNoCase(pszExpected, UpToZero(strModel)) ? TRUE : FALSE;
    FUZZ_CHECK(ModelsMatch(pszExpected, strModel.c_str()) == same);
    // The comparison does not depend on which side is the caller's.
    FUZZ_CHECK(ModelsMatch(strModel.c_str(), pszExpected) == same);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t nSize)
{
    const std::string deviceId(reinterpret_cast<const char *>(pData), nSize);
    CString extracted = "left over from an earlier call";
    const BOOL found = ExtractModel(CString(deviceId.data(), static_cast<int>(deviceId.size())), extracted);
    const std::string model(extracted, static_cast<size_t>(extracted.GetLength()));

    std::string expected;
    const bool expectedFound = ExpectedModel(deviceId, expected);
    FUZZ_CHECK(found == (expectedFound ? TRUE : FALSE));
    if (!found) {
        FUZZ_CHECK(model.empty());
        return 0;
    }
    FUZZ_CHECK(model == expected);
    // The model is a piece of the device ID right after a key and right before a ";",
    // and holds no ";" of its own where a character starts.
    const size_t at = deviceId.find(KEY + model + ";");
    FUZZ_CHECK(at != std::string::npos);
    const std::vector<bool> starts = CharacterStarts(model);
    for (size_t i = 0; i < model.size(); ++i)
        FUZZ_CHECK(!(starts[i] && model[i] == ';'));

    for (const char *pszName : ModelTable)
        CheckAgainst(pszName, model);
    return 0;
}
