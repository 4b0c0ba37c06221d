#include "framework/call_context.h"

#include "framework/thread_slot.h"

namespace {
// The module's one thread-local slot: the current context, or outside any call null, or
// the address of g_threadOutOfMemory once memory ran out on the thread.
CThreadSlot g_current;
char g_threadOutOfMemory;

const LONG NO_MODEL_LOOKED_UP = -1;
} // namespace

CCallContext::CCallContext()
    : m_bOutOfMemory(FALSE), m_pMainWnd(nullptr), m_nModelIndex(NO_MODEL_LOOKED_UP), m_szLibraryPath(),
      m_pOuter(g_current.Get())
{
    g_current.Set(this);
}

CCallContext::~CCallContext()
{
    g_current.Set(m_pOuter);
}

CCallContext *CCallContext::Current()
{
    void *pValue = g_current.Get();
    return pValue == &g_threadOutOfMemory ? nullptr : static_cast<CCallContext *>(pValue);
}

BOOL CCallContext::IsAvailable()
{
    return g_current.IsReady();
}

BOOL CCallContext::IsOutOfMemory()
{
    if (!IsAvailable())
        return TRUE;
    CCallContext *pCall = Current();
    return pCall ? pCall->m_bOutOfMemory : g_current.Get() != nullptr;
}

void CCallContext::SetOutOfMemory(BOOL bOut)
{
    if (CCallContext *pCall = Current())
        pCall->m_bOutOfMemory = bOut;
    else
        g_current.Set(bOut ? &g_threadOutOfMemory : nullptr);
}

CCallContextSwitch::CCallContextSwitch(CCallContext *pContext)
    : m_bSwitched(pContext != nullptr), m_pPrevious(g_current.Get())
{
    if (m_bSwitched)
        g_current.Set(pContext);
}

CCallContextSwitch::~CCallContextSwitch()
{
    if (m_bSwitched)
        g_current.Set(m_pPrevious);
}
