// quarvo.dll and pavrik.dll, loaded at run time, and the exports the host
// calls. The hook procedures are the libraries' business and not looked up.
#pragma once
#include <windows.h>
#include <string>
#include "quarvo_pavrik.h"

struct HostLibraries {
    HMODULE quarvo;
    HMODULE pavrik;
    GetQuarvoSharedDataFunction *getQuarvoSharedData;
    InstallDisableHookFunction *installDisableHook;
    InitQuarvoDllFunction *initQuarvoDll;
    GetMainControlDataFunction *getMainControlData;
    InitKBDDllFunction *initKBDDll;
};

extern HostLibraries libraries;

// Loads both DLLs (the loader looks beside the program first) and looks up
// their exports. On failure unloads what it loaded and says why in *error.
bool LoadHostLibraries(std::string *error);

// Unloads both. Unloading removes no hook and unregisters no event hook:
// switch everything off first.
void UnloadHostLibraries();
