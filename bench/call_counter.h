// Counts the platform calls a loaded module makes: each slot of its import
// address table is pointed at a small thunk that counts the call and jumps
// on to the real function, leaving stack and registers as they were.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "import_table.h"

struct CountingThunk;

struct CallCounter {
    std::vector<ImportSlot> slots;
    std::vector<DWORD> originals;
    CountingThunk *thunks = nullptr;
};

// Patches every import slot of the module; false when it could not.
bool StartCounting(HMODULE module, CallCounter *counter);
// Puts the original addresses back and frees the thunks.
void StopCounting(CallCounter *counter);

void ResetCounts(CallCounter *counter);
// The calls counted since the last reset, one name per call, sorted.
std::vector<std::string> CountedCalls(const CallCounter &counter);
