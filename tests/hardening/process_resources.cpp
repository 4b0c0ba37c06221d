#include "process_resources.h"

#include <psapi.h>
#include <winternl.h>

namespace {
// Wine names open handles by small multiples of 4 and reuses the lowest free one, so live
// handles lie far below this.
const ULONG_PTR HANDLE_VALUE_LIMIT = 0x10000;

// The GDI handle table that the system maps into every process (PEB GdiSharedHandleTable):
// 0x10000 cells, a cell in use carries its object type.
const size_t GDI_CELL_COUNT = 0x10000;
#ifdef _WIN64
const size_t PEB_GDI_TABLE_OFFSET = 0xF8;
struct GdiCell {
    UINT64 pKernelObject;
    USHORT wProcessId;
    USHORT wCount;
    USHORT wUpper;
    BYTE bType;
    BYTE bFlags;
    UINT64 pUserData;
};
static_assert(sizeof(GdiCell) == 24, "GDI cells are 24 bytes in a 64-bit process");
#else
const size_t PEB_GDI_TABLE_OFFSET = 0x94;
struct GdiCell {
    DWORD pKernelObject;
    USHORT wProcessId;
    USHORT wCount;
    USHORT wUpper;
    BYTE bType;
    BYTE bFlags;
    DWORD pUserData;
};
static_assert(sizeof(GdiCell) == 16, "GDI cells are 16 bytes in a 32-bit process");
#endif

SIZE_T ReportedPrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS *>(&counters),
                              sizeof(counters)))
        return 0;
    return counters.PrivateUsage;
}

// The committed pages that belong to this process alone: its heaps, stacks and private
// allocations.
SIZE_T CommittedPrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    const BYTE *p = nullptr;
    while (VirtualQuery(p, &region, sizeof(region)) == sizeof(region)) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        const BYTE *pNext = static_cast<const BYTE *>(region.BaseAddress) + region.RegionSize;
        if (pNext <= p)
            break;
        p = pNext;
    }
    return total;
}

DWORD ReportedHandleCount()
{
    DWORD count = 0;
    return GetProcessHandleCount(GetCurrentProcess(), &count) ? count : 0;
}

DWORD ProbedHandleCount()
{
    DWORD count = 0;
    for (ULONG_PTR value = 4; value < HANDLE_VALUE_LIMIT; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

bool GuiResourcesReported()
{
    SetLastError(ERROR_SUCCESS);
    return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) != 0 ||
           GetLastError() != ERROR_CALL_NOT_IMPLEMENTED;
}

DWORD NextFreeTlsIndex()
{
    const DWORD index = TlsAlloc();
    if (index != TLS_OUT_OF_INDEXES)
        TlsFree(index);
    return index;
}

DWORD GdiCellsInUse()
{
    PROCESS_BASIC_INFORMATION process = {};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof(process),
                                  nullptr) != 0)
        return 0;
    const BYTE *pPeb = reinterpret_cast<const BYTE *>(process.PebBaseAddress);
    const GdiCell *pTable = *reinterpret_cast<const GdiCell *const *>(pPeb + PEB_GDI_TABLE_OFFSET);
    if (!pTable)
        return 0;
    DWORD count = 0;
    for (size_t i = 0; i < GDI_CELL_COUNT; ++i)
        count += pTable[i].bType != 0 ? 1 : 0;
    return count;
}
} // namespace

// Seen under Wine 8: PrivateUsage 0, GetProcessHandleCount 0, GetGuiResources failing with
// ERROR_CALL_NOT_IMPLEMENTED. Each falls back to a count of its own then.
ProcessResources MeasureProcessResources()
{
    ProcessResources resources;
    resources.cbPrivate = ReportedPrivateBytes();
    if (resources.cbPrivate == 0)
        resources.cbPrivate = CommittedPrivateBytes();
    resources.nHandles = ReportedHandleCount();
    if (resources.nHandles == 0)
        resources.nHandles = ProbedHandleCount();
    resources.nGdiObjects =
        GuiResourcesReported() ? GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) : GdiCellsInUse();
    resources.nNextTlsIndex = NextFreeTlsIndex();
    return resources;
}

std::string DescribeResourceSources()
{
    std::string text = ReportedPrivateBytes() ? "private bytes: PrivateUsage"
                                              : "private bytes: committed private pages (PrivateUsage is 0)";
    text += ReportedHandleCount() ? "; handles: GetProcessHandleCount"
                                  : "; handles: probed handle values (GetProcessHandleCount gives 0)";
    text += GuiResourcesReported()
                ? "; GDI objects: GetGuiResources"
                : "; GDI objects: cells in use of the GDI handle table (GetGuiResources is "
                  "not implemented)";
    return text;
}
