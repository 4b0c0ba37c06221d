// The little of a C++ run time that the shipped DLLs need, in place of the compiler's: the
// entry point, which constructs the static objects when the module is loaded and destroys
// them when it is freed, and the heap operators; dll_memory.cpp has the block functions that
// the compiler calls. Nothing of the compiler's exception or thread support is linked, so a
// load takes nothing from the process that the free does not give back, and the module has
// no thread-local storage directory, with which Windows 95 and Win32s refuse to load a DLL
// at run time.
#include "framework/call_context.h"
#include "framework/heap.h"

namespace {
// One static object with a destructor registers it; the compiler's start-up registers the
// runner of the others. A handful in all.
const int EXIT_FUNCTION_COUNT = 16;

void(__cdecl *g_pfnExitFunctions[EXIT_FUNCTION_COUNT])(void);
int g_nExitFunctions = 0;
// A destructor found no room: the load fails.
bool g_bExitTableFull = false;

// Processes that have the module attached. Win32s keeps one copy of a DLL's data for all the
// processes that load it, yet runs the entry point as each of them attaches and detaches:
// the static objects are made at the first attach and destroyed at the last, and the
// process-wide state they hold (the model index, the library lock, the thread-local slot)
// serves every one of them. Elsewhere each process has its own copy and the count never
// passes 1. The loader runs entry points one at a time, so the count needs no lock.
int g_nAttachedProcesses = 0;

void RunExitFunctions()
{
    while (g_nExitFunctions > 0)
        g_pfnExitFunctions[--g_nExitFunctions]();
}
} // namespace

// GCC's start-up of static objects on this target: runs their constructors, which register
// the destructors with atexit.
extern "C" void __main();

// Run when the module is freed: the C runtime's own atexit would call into a module that is
// gone by the time the process exits. A destructor without room runs at once, since the
// load then fails and nothing else would run it.
extern "C" int __cdecl atexit(void(__cdecl *pfnFunction)(void))
{
    if (g_nExitFunctions == EXIT_FUNCTION_COUNT) {
        g_bExitTableFull = true;
        pfnFunction();
        return -1;
    }
    g_pfnExitFunctions[g_nExitFunctions++] = pfnFunction;
    return 0;
}

// The entry point that the linker gives a DLL. When the process ends (lpReserved set), the
// destructors are skipped, as the system's own run times do: other threads are gone
// without their cleanup, and the memory goes with the process. Without the thread-local
// slot of the calls' state the load fails, rather than every call; the detach that follows
// a refused load finds nothing left to run.
extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE, DWORD dwReason, LPVOID lpReserved)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        if (g_nAttachedProcesses++ > 0)
            return TRUE;
        __main();
        if (g_bExitTableFull || !CCallContext::IsAvailable()) {
            RunExitFunctions();
            // Nothing is attached: on Win32s the next process would otherwise take the
            // destroyed objects for live ones, should no detach follow the refusal.
            g_nAttachedProcesses = 0;
            return FALSE;
        }
    } else if (dwReason == DLL_PROCESS_DETACH && g_nAttachedProcesses > 0) {
        if (--g_nAttachedProcesses == 0 && !lpReserved)
            RunExitFunctions();
    }
    return TRUE;
}

// Without a block, new gives nullptr rather than throw: the component is compiled with
// -fcheck-new, so every new expression tests for it, and the heap remembers the failure.
void *operator new(size_t cb)
{
    return AfxAllocMemory(cb);
}

void operator delete(void *p) noexcept
{
    AfxFreeMemory(p);
}

void operator delete(void *p, size_t) noexcept
{
    AfxFreeMemory(p);
}

// Only a call through an object under construction or destruction gets here: a fault of
// the module's own, with nothing sound left to do. A trap ends the process without a C
// runtime's message box.
extern "C" void __cxa_pure_virtual()
{
    __builtin_trap();
}
