// State of pavrik.dll: slots shared by every process that has the library
// loaded (the DataSeg section), and this process's own globals.
#pragma once
#include <windows.h>
#include <stddef.h>
#include "quarvo_pavrik.h"

// One copy for every process that loads this image; all zero at first load.
struct PavrikSlots {
    HHOOK fkeyHook;        // the low-level keyboard hook, 0 while none is placed
    DWORD heldFunctionKey; // key of the last reported press; 0 after any release
};
static_assert(sizeof(PavrikSlots) == 8, "two 32-bit slots");
static_assert(offsetof(PavrikSlots, heldFunctionKey) == 4, "heldFunctionKey second");

extern PavrikSlots dataSeg;

// Per process. A view is null when its block could not be mapped.
extern HINSTANCE moduleHandle;
extern HANDLE sharedMapping;
extern QuarvoSharedData *sharedView;
extern HANDLE controlMapping;
extern MainControlData *controlView;
