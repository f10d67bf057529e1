// Attach and detach of pavrik.dll, its shared and per-process state, and the
// export that hands the host its view of the main-control block.
#include "pavrik_state.h"
#include "map_region.h"

PavrikSlots dataSeg __attribute__((section("DataSeg"), shared)) = {};

HINSTANCE moduleHandle = 0;
HANDLE sharedMapping = 0;
QuarvoSharedData *sharedView = 0;
HANDLE controlMapping = 0;
MainControlData *controlView = 0;

// Loads whether or not the blocks could be mapped: without them the hook
// passes every key on (see fkey_hook.cpp).
static BOOL Attach(HINSTANCE module)
{
    DisableThreadLibraryCalls(module);
    moduleHandle = module;
    MapBlock(QUARVO_SHARED_NAME, &sharedMapping, &sharedView);
    MapBlock(PAVRIK_CONTROL_NAME, &controlMapping, &controlView);
    return TRUE;
}

// Removes no hook and leaves the shared slots and both blocks as they are,
// skipLowLevelKeyboard included: the host stops capture before it unloads.
static BOOL Detach()
{
    moduleHandle = 0;
    ReleaseBlock(&sharedMapping, &sharedView);
    ReleaseBlock(&controlMapping, &controlView);
    return TRUE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        return Attach(module);
    case DLL_PROCESS_DETACH:
        return Detach();
    default:
        return TRUE;
    }
}

extern "C" MainControlData *WINAPI GetMainControlData(void)
{
    return controlView;
}
