#include "hook_thread.h"
#include "host_libraries.h"

static HANDLE thread = nullptr;
static DWORD threadId = 0;

struct StartRequest {
    DWORD disableFlags;
    PlacedHooks placed;
    HANDLE placedEvent;
};

static DWORD WINAPI PumpWhileHooksArePlaced(void *parameter)
{
    StartRequest *request = static_cast<StartRequest *>(parameter);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); // the queue exists before StopHookThread can post to it
    request->placed.functionKeyHook = libraries.initKBDDll(TRUE);
    request->placed.disableHooks = libraries.installDisableHook(TRUE, request->disableFlags, 0);
    SetEvent(request->placedEvent); // the request lives on the starter's stack: not touched after this

    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);

    libraries.installDisableHook(FALSE, 0, 0);
    libraries.initKBDDll(FALSE);
    return 0;
}

bool StartHookThread(DWORD disableFlags, PlacedHooks *placed)
{
    StartRequest request = {disableFlags, {0, 0}, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    if (!request.placedEvent)
        return false;
    thread = CreateThread(nullptr, 0, PumpWhileHooksArePlaced, &request, 0, &threadId);
    if (thread)
        WaitForSingleObject(request.placedEvent, INFINITE);
    CloseHandle(request.placedEvent);
    *placed = request.placed;
    return thread != nullptr;
}

void StopHookThread()
{
    if (!thread)
        return;
    PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    thread = nullptr;
    threadId = 0;
}
