// Makes the allocations of one loaded DLL fail from a chosen one on: while the object
// lives, the DLL's imports of the heap allocator point at counting
// stand-ins. Allocations of every other module go on as before. The counting and failing
// is each thread's own: Restart on one thread leaves the others' allocations alone.
#pragma once

#include "support/import_patch.h"

#include <memory>
#include <vector>

class CFailingAllocator {
public:
    explicit CFailingAllocator(HMODULE hModule);
    CFailingAllocator(const CFailingAllocator &) = delete;
    CFailingAllocator &operator=(const CFailingAllocator &) = delete;

    // Imports replaced; 0 when the DLL imports no allocator.
    int Patched() const { return static_cast<int>(m_patches.size()); }

    static const unsigned int EVERY_LATER = 0xFFFFFFFF;

    // Starts counting this thread's allocations again from 0. Allocation nFirstFailing (counted from 1)
    // fails, and the nFailing - 1 after it; nFirstFailing 0: none fails.
    void Restart(unsigned int nFirstFailing = 0, unsigned int nFailing = EVERY_LATER);
    // Allocations asked for since the restart, the failed ones included.
    unsigned int Allocations() const;
    // Blocks handed out since the restart and not freed.
    long LiveBlocks() const;

private:
    std::vector<std::unique_ptr<ImportPatch>> m_patches;
};
