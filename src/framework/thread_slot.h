// A value of each thread's own, kept in a slot of the system's thread-local storage that is
// taken when the module is loaded and given back when it is freed. Calls of the component
// from several threads, or nested on one, must not see each other's state. A thread-local
// storage directory would give the same for free, but Windows 95 and Win32s refuse to load
// a DLL that has one at run time.
#pragma once

#include <windows.h>

class CThreadSlot {
public:
    CThreadSlot();
    ~CThreadSlot();
    CThreadSlot(const CThreadSlot &) = delete;
    CThreadSlot &operator=(const CThreadSlot &) = delete;

    // FALSE when the system had no slot left for the module: nothing can be kept then.
    BOOL IsReady() const { return m_dwSlot != NO_SLOT; }
    // This thread's value; null until the thread sets one, and always without a slot.
    void *Get() const;
    void Set(void *pValue) const;

private:
    static const DWORD NO_SLOT = 0;
    // The storage index plus 1, so that the zero of a static object not yet constructed, a
    // refused TlsAlloc (TLS_OUT_OF_INDEXES) and a freed slot all read as no slot: index 0 is
    // a valid index, most likely another module's.
    DWORD m_dwSlot;
};
