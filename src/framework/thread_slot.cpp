#include "framework/thread_slot.h"

CThreadSlot::CThreadSlot() : m_dwSlot(TlsAlloc() + 1) {}

CThreadSlot::~CThreadSlot()
{
    if (IsReady())
        TlsFree(m_dwSlot - 1);
    // Read again once the module's static objects are gone (an attach after the last detach
    // on Win32s, which keeps the module's data): the compiler drops a plain store to an
    // object whose life ends here.
    *static_cast<volatile DWORD *>(&m_dwSlot) = NO_SLOT;
}

void *CThreadSlot::Get() const
{
    return IsReady() ? TlsGetValue(m_dwSlot - 1) : nullptr;
}

void CThreadSlot::Set(void *pValue) const
{
    if (IsReady())
        TlsSetValue(m_dwSlot - 1, pValue);
}
