// Functions of a loaded module bound by name at run time, for what not every system exports.
#pragma once

#include <windows.h>

// Looks a function up by name and stores it as its own pointer type (null when missing).
// The detour through void (*)() keeps the cast from FARPROC free of a type warning.
template <typename TFunction> bool BindExport(HMODULE hLibrary, LPCSTR pszName, TFunction &pfnFunction)
{
    pfnFunction =
        reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(GetProcAddress(hLibrary, pszName)));
    return pfnFunction != nullptr;
}

// The same for a system DLL that the process has loaded already, such as kernel32 or user32:
// for what only some of the systems that the component runs on export.
template <typename TFunction> bool BindSystemExport(LPCSTR pszModule, LPCSTR pszName, TFunction &pfnFunction)
{
    pfnFunction = nullptr;
    const HMODULE hModule = GetModuleHandleA(pszModule);
    return hModule && BindExport(hModule, pszName, pfnFunction);
}
