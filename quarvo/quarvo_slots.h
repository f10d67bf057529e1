// The slots of quarvo.dll's DataSeg section: one copy for every process
// that has the library loaded. Tests read them through the section.
#pragma once
#include <windows.h>
#include <stddef.h>
#include "hook_slot.h"

// One copy for every process that loads this image; all zero at first load.
struct QuarvoSlots {
    HookSlot mouseHook;
    HookSlot mouseLowLevelHook;
    HookSlot keyboardHook;
    HookSlot keyboardLowLevelHook;
    HWND eventWindow;
};
static_assert(sizeof(QuarvoSlots) == 40, "four hook slots and the event window");
static_assert(offsetof(QuarvoSlots, eventWindow) == 32, "eventWindow last");
