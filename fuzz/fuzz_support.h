// Property checks of the fuzz targets, and an independent model of code page 932
// character boundaries to judge the multibyte searches against.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// A broken property aborts, so that libFuzzer keeps the input as a crash.
#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond))                                                                                         \
            FuzzFail(#cond, __FILE__, __LINE__);                                                             \
    } while (0)

[[noreturn]] inline void FuzzFail(const char *pszCondition, const char *pszFile, int nLine)
{
    std::fprintf(stderr, "property broken: %s (%s:%d)\n", pszCondition, pszFile, nLine);
    std::abort();
}

// Code page 932 lead bytes; a lead byte as the very last byte stands alone.
inline std::vector<bool> CharacterStarts(const std::string &strText)
{
    std::vector<bool> starts(strText.size(), false);
    for (size_t i = 0; i < strText.size(); ++i) {
        starts[i] = true;
        const unsigned char c = static_cast<unsigned char>(strText[i]);
        const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        if (lead && i + 1 < strText.size())
            ++i;
    }
    return starts;
}

// ASCII case folding, which is all the fuzz build's comparison does.
inline bool EqualNoCase(const std::string &strA, const std::string &strB)
{
    if (strA.size() != strB.size())
        return false;
    for (size_t i = 0; i < strA.size(); ++i) {
        unsigned char a = static_cast<unsigned char>(strA[i]);
        unsigned char b = static_cast<unsigned char>(strB[i]);
        if (a >= 'A' && a <= 'Z')
            a = static_cast<unsigned char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z')
            b = static_cast<unsigned char>(b - 'A' + 'a');
        if (a != b)
            return false;
    }
    return true;
}

// The text that a zero-terminated reading of the bytes sees.
inline std::string UpToZero(const std::string &strBytes)
{
    return std::string(strBytes.c_str());
}
