/* ZRDEP.DLL, which the with_dependency variant of ZRAPI.DLL imports. Its entry point marks in
   the process's environment that it ran, so that a test can tell whether the loader took it
   from where it lies. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID pReserved)
{
    (void)hInstance;
    (void)pReserved;
    if (dwReason == DLL_PROCESS_ATTACH)
        SetEnvironmentVariableA("ZRDEP_LOADED", "1");
    return TRUE;
}

__declspec(dllexport) int ZrDependencyMark(void)
{
    return 1;
}
