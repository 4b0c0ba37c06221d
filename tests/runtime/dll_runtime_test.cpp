// The DLLs' own run time (src/runtime/dll_runtime.cpp, dll_memory.cpp), in small DLLs
// built on it with numbered static objects (dll_runtime_objects.h).
#include "dll_runtime_objects.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// As tests/runtime/CMakeLists.txt builds them: one within the run time's exit table, one beyond.
const char FITTING_DLL[] = "dll_runtime_objects_8.dll";
const int FITTING_OBJECTS = 8;
const char OVERFLOWING_DLL[] = "dll_runtime_objects_20.dll";
const int OVERFLOWING_OBJECTS = 20;

int CountLiveObjects(int nObjects)
{
    int nAlive = 0;
    for (int i = 1; i <= nObjects; ++i)
        nAlive += FindAtomA(RuntimeObjectName(i).szText) != 0;
    return nAlive;
}

// The module's entry point, to call it as a system other than the one running the test would.
using EntryPointFn = BOOL(WINAPI *)(HINSTANCE, DWORD, LPVOID);
EntryPointFn EntryPoint(HMODULE hModule)
{
    const auto pbImage = reinterpret_cast<const BYTE *>(hModule);
    const auto pDos = reinterpret_cast<const IMAGE_DOS_HEADER *>(pbImage);
    const auto pNt = reinterpret_cast<const IMAGE_NT_HEADERS *>(pbImage + pDos->e_lfanew);
    return reinterpret_cast<EntryPointFn>(
        reinterpret_cast<UINT_PTR>(pbImage + pNt->OptionalHeader.AddressOfEntryPoint));
}

template <typename Fn> Fn BlockFunction(HMODULE hModule, const char *pszName)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(hModule, pszName)));
}
} // namespace

TEST(DllRuntime, StaticObjectsLiveFromLoadToFree)
{
    HMODULE hModule = LoadLibraryA(FITTING_DLL);
    ASSERT_NE(nullptr, hModule) << GetLastError();
    EXPECT_EQ(FITTING_OBJECTS, CountLiveObjects(FITTING_OBJECTS));
    FreeLibrary(hModule);
    EXPECT_EQ(0, CountLiveObjects(FITTING_OBJECTS));
}

// Win32s shares one copy of a DLL's data among all the processes that load it and calls the
// entry point as each attaches and detaches: the objects live until the last detaches, even
// when an earlier one detaches as its process ends. The last one that detaches as its process
// ends destroys nothing; once the objects are gone, every later attach is refused.
TEST(DllRuntime, StaticObjectsLiveUntilTheLastWin32sProcessDetaches)
{
    for (const LPVOID pFirstDetachReserved : {LPVOID(nullptr), LPVOID(1)}) {
        SCOPED_TRACE(pFirstDetachReserved ? "first process ends" : "first process frees it");
        HMODULE hModule = LoadLibraryA(FITTING_DLL);
        ASSERT_NE(nullptr, hModule) << GetLastError();
        const EntryPointFn pfnEntry = EntryPoint(hModule);
        ASSERT_TRUE(pfnEntry(hModule, DLL_PROCESS_ATTACH, nullptr));
        EXPECT_TRUE(pfnEntry(hModule, DLL_PROCESS_DETACH, pFirstDetachReserved));
        EXPECT_EQ(FITTING_OBJECTS, CountLiveObjects(FITTING_OBJECTS));
        FreeLibrary(hModule);
        EXPECT_EQ(0, CountLiveObjects(FITTING_OBJECTS));
    }

    HMODULE hModule = LoadLibraryA(FITTING_DLL);
    ASSERT_NE(nullptr, hModule) << GetLastError();
    const EntryPointFn pfnEntry = EntryPoint(hModule);
    EXPECT_TRUE(pfnEntry(hModule, DLL_PROCESS_DETACH, LPVOID(1)));
    EXPECT_EQ(FITTING_OBJECTS, CountLiveObjects(FITTING_OBJECTS)) << "the process ends";
    EXPECT_TRUE(pfnEntry(hModule, DLL_PROCESS_ATTACH, nullptr));
    EXPECT_TRUE(pfnEntry(hModule, DLL_PROCESS_DETACH, nullptr));
    EXPECT_EQ(0, CountLiveObjects(FITTING_OBJECTS));
    EXPECT_FALSE(pfnEntry(hModule, DLL_PROCESS_ATTACH, nullptr));
    EXPECT_FALSE(pfnEntry(hModule, DLL_PROCESS_ATTACH, nullptr)) << "a refused attach counts no process";
    FreeLibrary(hModule);
}

// A destructor that finds no room must not be dropped silently: the load fails, and every
// object constructed by then is destroyed again.
TEST(DllRuntime, MoreDestructorsThanTheExitTableHoldsFailTheLoad)
{
    HMODULE hModule = LoadLibraryA(OVERFLOWING_DLL);
    EXPECT_EQ(nullptr, hModule);
    if (hModule)
        FreeLibrary(hModule);
    EXPECT_EQ(0, CountLiveObjects(OVERFLOWING_OBJECTS));
    EXPECT_EQ(nullptr, GetModuleHandleA(OVERFLOWING_DLL));
}

// The calls' state needs one thread-local slot: without one the load fails rather than every
// call, and the teardown that follows the refusal leaves nothing behind. No assertion runs
// while the process has no slot left.
TEST(DllRuntime, ALoadWithoutAThreadLocalSlotFailsAndOneIsEnough)
{
    std::vector<DWORD> taken;
    for (DWORD dwIndex = TlsAlloc(); dwIndex != TLS_OUT_OF_INDEXES; dwIndex = TlsAlloc())
        taken.push_back(dwIndex);
    HMODULE hWithout = LoadLibraryA(FITTING_DLL);
    const int nAliveAfterRefusal = CountLiveObjects(FITTING_OBJECTS);
    TlsFree(taken.back());
    taken.pop_back();
    HMODULE hWithOne = LoadLibraryA(FITTING_DLL);
    for (DWORD dwIndex : taken)
        TlsFree(dwIndex);

    EXPECT_EQ(nullptr, hWithout);
    EXPECT_EQ(0, nAliveAfterRefusal);
    EXPECT_NE(nullptr, hWithOne);
    for (HMODULE hModule : {hWithout, hWithOne}) {
        if (hModule)
            FreeLibrary(hModule);
    }
}

TEST(DllRuntime, BlockFunctions)
{
    using CopyFn = void *(__cdecl *)(void *, const void *, size_t);
    using SetFn = void *(__cdecl *)(void *, int, size_t);
    using CompareFn = int(__cdecl *)(const void *, const void *, size_t);
    HMODULE hModule = LoadLibraryA(FITTING_DLL);
    ASSERT_NE(nullptr, hModule) << GetLastError();
    const auto pfnCopy = BlockFunction<CopyFn>(hModule, "memcpy");
    const auto pfnMove = BlockFunction<CopyFn>(hModule, "memmove");
    const auto pfnSet = BlockFunction<SetFn>(hModule, "memset");
    const auto pfnCompare = BlockFunction<CompareFn>(hModule, "memcmp");
    ASSERT_TRUE(pfnCopy && pfnMove && pfnSet && pfnCompare);

    char text[] = "abcdefgh";
    EXPECT_EQ(text, pfnCopy(text, "XY", 2));
    EXPECT_STREQ("XYcdefgh", text);
    EXPECT_EQ(text + 2, pfnMove(text + 2, text, 5)); // overlapping, upwards
    EXPECT_STREQ("XYXYcdeh", text);
    EXPECT_EQ(text, pfnMove(text, text + 3, 5)); // overlapping, downwards
    EXPECT_STREQ("Ycdehdeh", text);
    EXPECT_EQ(text + 1, pfnSet(text + 1, 0x100 + 'z', 3)); // only the low byte counts
    EXPECT_STREQ("Yzzzhdeh", text);

    // Bytes compare as unsigned: 0x80 is above 0x7F.
    EXPECT_GT(pfnCompare("a\x80", "a\x7F", 2), 0);
    EXPECT_LT(pfnCompare("a\x7F", "a\x80", 2), 0);
    EXPECT_EQ(0, pfnCompare("ab", "ab", 2));
    EXPECT_EQ(0, pfnCompare("a", "b", 0));
    FreeLibrary(hModule);
}
