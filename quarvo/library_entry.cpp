// Attach and detach of quarvo.dll, its shared and per-process state, and the
// export that hands the host its view of the shared control block.
#include "quarvo_state.h"
#include "map_region.h"

QuarvoSlots dataSeg __attribute__((section("DataSeg"), shared)) = {};

HINSTANCE moduleHandle = 0;
HANDLE sharedMapping = 0;
QuarvoSharedData *sharedView = 0;
HWINEVENTHOOK winEventHook = 0;

static BOOL Attach(HINSTANCE module)
{
    DisableThreadLibraryCalls(module);
    moduleHandle = module;
    return MapBlock(QUARVO_SHARED_NAME, &sharedMapping, &sharedView);
}

// Removes no hook and leaves the shared slots and the block as they are: the
// host switches everything off before it unloads the library.
static BOOL Detach()
{
    moduleHandle = 0;
    ReleaseBlock(&sharedMapping, &sharedView);
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

extern "C" QuarvoSharedData *WINAPI GetQuarvoSharedData(void)
{
    return sharedView;
}
