// Points one import of a loaded module at a stand-in while alive: the module's calls of that
// function reach the stand-in, every other module's calls the function itself.
#pragma once

#include <windows.h>

class ImportPatch {
public:
    // pszDll is compared without regard to case; nothing is patched when the module does not
    // import the function.
    ImportPatch(HMODULE hModule, const char *pszDll, const char *pszFunction, void *pStandIn);
    // Gives the module its own import back.
    ~ImportPatch();
    ImportPatch(const ImportPatch &) = delete;
    ImportPatch &operator=(const ImportPatch &) = delete;

    bool Patched() const { return m_pSlot != nullptr; }
    // The function the import pointed at before; null when not patched.
    void *Original() const { return m_pOriginal; }

private:
    ULONG_PTR *m_pSlot = nullptr;
    void *m_pOriginal = nullptr;
};
