#include "framework/thread_slot.h"

CThreadSlot::CThreadSlot() : m_dwSlot(TlsAlloc() + 1) {}

CThreadSlot::~CThreadSlot()
{
    if (IsReady())
        TlsFree(m_dwSlot - 1);
    m_dwSlot = NO_SLOT;
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
