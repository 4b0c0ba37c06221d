// Makes the allocations of one loaded DLL fail from a chosen one on: while the object
// lives, the DLL's imports of the heap and C-library allocators point at counting
// stand-ins. Allocations of every other module go on as before.
#pragma once

#include <windows.h>

class CFailingAllocator {
public:
    explicit CFailingAllocator(HMODULE hModule);
    // Gives the DLL its own imports back.
    ~CFailingAllocator();
    CFailingAllocator(const CFailingAllocator &) = delete;
    CFailingAllocator &operator=(const CFailingAllocator &) = delete;

    // Imports replaced; 0 when the DLL imports no allocator.
    int Patched() const { return m_nPatched; }

    static const unsigned int EVERY_LATER = 0xFFFFFFFF;

    // Starts counting again from 0. Allocation nFirstFailing (counted from 1) fails, and the
    // nFailing - 1 after it; nFirstFailing 0: none fails.
    void Restart(unsigned int nFirstFailing = 0, unsigned int nFailing = EVERY_LATER);
    // Allocations asked for since the restart, the failed ones included.
    unsigned int Allocations() const;
    // Blocks handed out since the restart and not freed.
    long LiveBlocks() const;

private:
    HMODULE m_hModule;
    int m_nPatched = 0;
};
