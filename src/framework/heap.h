// The component's memory: blocks of the process heap. Nothing here throws; a block that
// cannot be had is remembered instead, in the record of the call that asked for it (outside
// any call, of its thread: framework/call_context.h), until AfxResetOutOfMemory. Whatever was
// under way when memory ran out cannot be trusted: the entry call ends with 0, a dialog ends
// with -1 and a message whose text may lack a part is not shown. Another call's failure, on
// this thread or another, says nothing about this call's work.
#pragma once

#include <windows.h>

#include <stddef.h>

// A block of cb bytes, or nullptr when the heap has none (the failure is remembered).
void *AfxAllocMemory(size_t cb);
// Gives a block back; nullptr is allowed.
void AfxFreeMemory(void *p);

// TRUE once an allocation of this call has failed since the last reset; always TRUE when
// the module got no thread-local slot to keep the record in, since no failure could be seen.
BOOL AfxIsOutOfMemory();
void AfxResetOutOfMemory();
// Records a request too large for any heap, refused before it was made.
void AfxNoteOutOfMemory();
