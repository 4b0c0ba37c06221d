// What the running process holds, for the soak tests: private bytes, open handles, GDI
// objects and thread-local storage slots. Where Wine leaves the usual report empty, the
// figure is counted another way.
#pragma once

#include <windows.h>

#include <string>

struct ProcessResources {
    SIZE_T cbPrivate = 0;
    DWORD nHandles = 0;
    DWORD nGdiObjects = 0;
    DWORD nNextTlsIndex = 0; // the slot TlsAlloc hands out next: the lowest free one
};

ProcessResources MeasureProcessResources();

// How each figure was obtained on this system, for the test's output.
std::string DescribeResourceSources();
