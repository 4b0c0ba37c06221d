#include "framework/thread_slot.h"

CThreadSlot::CThreadSlot() : m_dwIndex(TlsAlloc()) {}

CThreadSlot::~CThreadSlot()
{
    if (IsReady())
        TlsFree(m_dwIndex);
}

void *CThreadSlot::Get() const
{
    return IsReady() ? TlsGetValue(m_dwIndex) : nullptr;
}

void CThreadSlot::Set(void *pValue) const
{
    if (IsReady())
        TlsSetValue(m_dwIndex, pValue);
}
