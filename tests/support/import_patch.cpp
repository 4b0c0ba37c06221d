#include "support/import_patch.h"

#include <cstring>

namespace {
void WriteSlot(ULONG_PTR *pSlot, ULONG_PTR value)
{
    DWORD dwOld = 0;
    VirtualProtect(pSlot, sizeof(*pSlot), PAGE_READWRITE, &dwOld);
    *pSlot = value;
    VirtualProtect(pSlot, sizeof(*pSlot), dwOld, &dwOld);
}

// The module's import address entry of the function, or null.
ULONG_PTR *FindImport(HMODULE hModule, const char *pszDll, const char *pszFunction)
{
    const BYTE *pBase = reinterpret_cast<const BYTE *>(hModule);
    const auto *pDos = reinterpret_cast<const IMAGE_DOS_HEADER *>(pBase);
    const auto *pNt = reinterpret_cast<const IMAGE_NT_HEADERS *>(pBase + pDos->e_lfanew);
    const IMAGE_DATA_DIRECTORY &imports = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0)
        return nullptr;
    for (const auto *pDll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(pBase + imports.VirtualAddress);
         pDll->Name != 0; ++pDll) {
        if (lstrcmpiA(reinterpret_cast<const char *>(pBase + pDll->Name), pszDll) != 0)
            continue;
        const DWORD namesAt = pDll->OriginalFirstThunk ? pDll->OriginalFirstThunk : pDll->FirstThunk;
        const auto *pName = reinterpret_cast<const IMAGE_THUNK_DATA *>(pBase + namesAt);
        auto *pSlot = reinterpret_cast<ULONG_PTR *>(const_cast<BYTE *>(pBase) + pDll->FirstThunk);
        for (; pName->u1.AddressOfData != 0; ++pName, ++pSlot) {
            if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal))
                continue;
            const auto *pByName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME *>(pBase + pName->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char *>(pByName->Name), pszFunction) == 0)
                return pSlot;
        }
    }
    return nullptr;
}
} // namespace

ImportPatch::ImportPatch(HMODULE hModule, const char *pszDll, const char *pszFunction, void *pStandIn)
    : m_pSlot(FindImport(hModule, pszDll, pszFunction))
{
    if (!m_pSlot)
        return;
    m_pOriginal = reinterpret_cast<void *>(*m_pSlot);
    WriteSlot(m_pSlot, reinterpret_cast<ULONG_PTR>(pStandIn));
}

ImportPatch::~ImportPatch()
{
    if (m_pSlot)
        WriteSlot(m_pSlot, reinterpret_cast<ULONG_PTR>(m_pOriginal));
}
