// State of quarvo.dll: slots shared by every process that has the library
// loaded (the DataSeg section), and this process's own globals.
#pragma once
#include <windows.h>
#include <stddef.h>
#include "quarvo_pavrik.h"
#include "quarvo_slots.h"

extern QuarvoSlots dataSeg;

// Per process.
extern HINSTANCE moduleHandle;
extern HANDLE sharedMapping;
extern QuarvoSharedData *sharedView;
extern HWINEVENTHOOK winEventHook; // zero while this process holds no registration

// The block as the hook procedures read it: the host may rewrite it at any
// moment, so each field is read once.
inline const volatile QuarvoSharedData *Block()
{
    return sharedView;
}
