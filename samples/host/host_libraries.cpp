#include "host_libraries.h"

HostLibraries libraries = {};

template <typename Function> static bool Find(HMODULE module, const char *name, Function **function)
{
    *function = reinterpret_cast<Function *>(reinterpret_cast<void *>(GetProcAddress(module, name)));
    return *function != nullptr;
}

static bool FindExports(std::string *missing)
{
    HostLibraries &l = libraries;
    struct Lookup {
        bool found;
        const char *name;
    } lookups[] = {
        {Find(l.quarvo, "GetQuarvoSharedData", &l.getQuarvoSharedData), "quarvo.dll!GetQuarvoSharedData"},
        {Find(l.quarvo, "InstallDisableHook", &l.installDisableHook), "quarvo.dll!InstallDisableHook"},
        {Find(l.quarvo, "InitQuarvoDll", &l.initQuarvoDll), "quarvo.dll!InitQuarvoDll"},
        {Find(l.pavrik, "GetMainControlData", &l.getMainControlData), "pavrik.dll!GetMainControlData"},
        {Find(l.pavrik, "InitKBDDll", &l.initKBDDll), "pavrik.dll!InitKBDDll"},
    };
    for (const Lookup &lookup : lookups)
        if (!lookup.found) {
            *missing = lookup.name;
            return false;
        }
    return true;
}

bool LoadHostLibraries(std::string *error)
{
    libraries.quarvo = LoadLibraryA("quarvo.dll");
    libraries.pavrik = LoadLibraryA("pavrik.dll");
    std::string missing;
    if (!libraries.quarvo)
        *error = "Cannot load quarvo.dll";
    else if (!libraries.pavrik)
        *error = "Cannot load pavrik.dll";
    else if (!FindExports(&missing))
        *error = "Missing export " + missing;
    else
        return true;
    UnloadHostLibraries();
    return false;
}

void UnloadHostLibraries()
{
    if (libraries.pavrik)
        FreeLibrary(libraries.pavrik);
    if (libraries.quarvo)
        FreeLibrary(libraries.quarvo);
    libraries = HostLibraries();
}
