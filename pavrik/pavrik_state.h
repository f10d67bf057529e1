// State of pavrik.dll: slots shared by every process that has the library
// loaded (the DataSeg section), and this process's own globals.
#pragma once
#include <windows.h>
#include <stddef.h>
#include "quarvo_pavrik.h"
#include "pavrik_slots.h"

extern PavrikSlots dataSeg;

// Per process. A view is null when its block could not be mapped.
extern HINSTANCE moduleHandle;
extern HANDLE sharedMapping;
extern QuarvoSharedData *sharedView;
extern HANDLE controlMapping;
extern MainControlData *controlView;
