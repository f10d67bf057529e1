// The import address table of a loaded module: the slots through which its
// code calls other DLLs.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct ImportSlot {
    std::string module;   // "USER32.dll"
    std::string function; // "PostMessageA", or "#12" for an import by ordinal
    DWORD *address;       // the slot the module's calls read
};

std::vector<ImportSlot> ImportSlots(HMODULE module);

// The imported DLLs with how many functions each: "KERNEL32.dll (6), USER32.dll (9)".
std::string ImportSummary(HMODULE module);
// Every imported function by DLL: "KERNEL32.dll: CloseHandle, ...; USER32.dll: ...".
std::string ImportList(HMODULE module);
