// Linked into every Japanese test program (LANG ja in tests/CMakeLists.txt): they judge the
// Japanese resources as Shift-JIS bytes, which only code page 932 gives. In any other code
// page the program fails before its first test, rather than passing by falling back to
// English or skipping. Cases that the English programs share check nothing of their own.
#include <gtest/gtest.h>
#include <windows.h>

namespace {
class CCodePage932 : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_EQ(932u, GetACP())
            << "a Japanese test program runs in code page 932 (LC_ALL=ja_JP.UTF-8 under Wine)";
    }
};

::testing::Environment *const g_pCodePage932 = ::testing::AddGlobalTestEnvironment(new CCodePage932);
} // namespace
