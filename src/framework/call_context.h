// The state of one call of the component, on that call's stack: its out-of-memory record,
// its main window (the dialog it runs), the model index it looked up and the ZRAPI.DLL it
// found. Calls overlap on several threads and nest on one (a click on the caller's window
// while a dialog runs), so nothing of a call's state is kept anywhere else.
//
// One thread-local slot holds the thread's current context; each context knows the one it is
// nested in and puts it back when it ends. Outside any call (a unit linked on its own, the
// fuzz targets) the same slot is the thread's own out-of-memory record, and there is no main
// window and no library found: a link then looks for the library itself.
#pragma once

#include <windows.h>

class CWnd;

class CCallContext {
public:
    // Becomes the thread's current context, nested in the one before.
    CCallContext();
    // Puts the context, or the thread's own record, from before back.
    ~CCallContext();
    CCallContext(const CCallContext &) = delete;
    CCallContext &operator=(const CCallContext &) = delete;

    // The thread's current context; nullptr outside any call.
    static CCallContext *Current();
    // FALSE when the system had no thread-local slot for the module: no call can keep its
    // state then, and no failure of memory can be seen.
    static BOOL IsAvailable();

    // The record of the current call, or outside any call the thread's own; always TRUE
    // without a slot.
    static BOOL IsOutOfMemory();
    static void SetOutOfMemory(BOOL bOut);

    BOOL m_bOutOfMemory;
    CWnd *m_pMainWnd; // null while the call runs no dialog
    LONG m_nModelIndex;
    char m_szLibraryPath[MAX_PATH]; // empty until the call has found ZRAPI.DLL

private:
    friend class CCallContextSwitch;
    // The slot's value before: the context this one is nested in, or the thread's own record.
    void *m_pOuter;
};

// Makes a call's context the thread's current one while alive, so that a dialog's messages
// act on the call that runs the dialog even while a call nested in it runs; the slot's value
// from before comes back at the end. Null changes nothing, at the start or at the end: a
// dialog run outside any call keeps what its messages record in the thread's own record.
class CCallContextSwitch {
public:
    explicit CCallContextSwitch(CCallContext *pContext);
    ~CCallContextSwitch();
    CCallContextSwitch(const CCallContextSwitch &) = delete;
    CCallContextSwitch &operator=(const CCallContextSwitch &) = delete;

private:
    const bool m_bSwitched;
    void *m_pPrevious;
};
