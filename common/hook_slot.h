// Hook handle slots that live in a library's shared data section: a slot is
// zero while no hook is placed, and holds the handle while one is.
#pragma once
#include <windows.h>

// Places the hook when the slot is empty; a refused placement leaves it zero.
void PlaceHookInSlot(HHOOK *slot, int kind, HOOKPROC procedure, HINSTANCE module, DWORD threadId);

// Removes the hook a nonempty slot holds and empties the slot whatever the
// outcome. Returns the outcome of the removal (nonzero on success), or 0 when
// the slot was empty.
BOOL RemoveHookInSlot(HHOOK *slot);
