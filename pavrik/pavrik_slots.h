// The slots of pavrik.dll's DataSeg section: one copy for every process
// that has the library loaded. Tests read them through the section.
#pragma once
#include <windows.h>
#include <stddef.h>
#include "hook_slot.h"

// One copy for every process that loads this image; all zero at first load.
struct PavrikSlots {
    HookSlot fkeyHook;     // the low-level keyboard hook, handle 0 while none is placed
    DWORD heldFunctionKey; // key of the last reported press; 0 after any release
};
static_assert(sizeof(PavrikSlots) == 16, "a hook slot and the latch");
static_assert(offsetof(PavrikSlots, heldFunctionKey) == 8, "heldFunctionKey second");
