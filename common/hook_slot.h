// Hook handle slots that live in a library's shared data section, seen by
// every process that has the library loaded. A slot is empty (handle zero)
// while no hook is placed; otherwise it holds the handle and the thread that
// placed the hook, whose life the hook's life follows.
#pragma once
#include <windows.h>

struct alignas(8) HookSlot {
    HHOOK handle;
    DWORD ownerThread;
};
static_assert(sizeof(HookSlot) == 8, "handle and owner, claimed together");

// Places the hook unless the slot holds one whose owner thread still lives.
// A hook left behind by a thread that has ended is removed first. Of two
// requests racing for an empty slot one wins; the other removes the hook it
// placed, so no placed hook is ever without its slot. A refused placement
// leaves the slot empty.
void PlaceHookInSlot(HookSlot *slot, int kind, HOOKPROC procedure, HINSTANCE module, DWORD threadId);

// Empties the slot and removes the hook it held. Returns the outcome of the
// removal (nonzero on success), or 0 when the slot was empty.
BOOL RemoveHookInSlot(HookSlot *slot);
