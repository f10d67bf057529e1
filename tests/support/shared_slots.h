// The libraries' shared DataSeg slots as this process sees them, read
// through the section of the loaded image.
#pragma once
#include <windows.h>
#include "pavrik_slots.h"
#include "quarvo_slots.h"

// Null when the library is not loaded here or has no such section.
volatile QuarvoSlots *QuarvoDataSeg(HMODULE quarvo = GetModuleHandleA("quarvo.dll"));
volatile PavrikSlots *PavrikDataSeg(HMODULE pavrik = GetModuleHandleA("pavrik.dll"));
