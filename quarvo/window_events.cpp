// Window-event forwarding: registering and unregistering the in-context
// window-event hook, and the procedure that forwards events to the host.
#include "quarvo_state.h"
#include "event_rules.h"

// The host may rewrite the window in another process at any moment.
static HWND EventWindow()
{
    const volatile QuarvoSlots &slots = dataSeg;
    return slots.eventWindow;
}

extern "C" void CALLBACK WinEventProc(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD)
{
    const volatile QuarvoSharedData *block = Block();
    if (IsForwardingMuted(block->inputDisabled, block->hostMode))
        return;
    if (!IsForwardedEvent(event))
        return;
    HWND window = EventWindow();
    if (window) // a null window would queue a thread message in a foreign program
        PostMessageA(window, WM_GUARD_WINEVENT, event, 0);
}

// Unregisters this process's registration, if it holds one. The handle is
// forgotten only when the platform accepts, so a later request tries again.
// Returns the outcome of the unhook (nonzero on success), or 0 when no
// registration was held.
static BOOL ReleaseRegistration()
{
    if (!winEventHook)
        return FALSE;
    BOOL released = UnhookWinEvent(winEventHook);
    if (released)
        winEventHook = 0;
    return released;
}

// A registration held from an earlier enable is replaced, so that this
// process holds exactly one. Used as documented (enable and disable from one
// thread), the platform refuses to unregister only a registration that is
// gone already (its thread ended, or someone else unhooked it): its handle is
// dropped, so that forwarding cannot stay stuck on it.
static UINT_PTR StartForwarding(HWND window)
{
    dataSeg.eventWindow = window;
    ReleaseRegistration();
    winEventHook = SetWinEventHook(FIRST_REGISTERED_EVENT, LAST_REGISTERED_EVENT, moduleHandle, WinEventProc, 0, 0,
                                   WINEVENT_INCONTEXT);
    return reinterpret_cast<UINT_PTR>(winEventHook);
}

static UINT_PTR StopForwarding()
{
    dataSeg.eventWindow = 0;
    return ReleaseRegistration();
}

extern "C" UINT_PTR WINAPI InitQuarvoDll(BOOLEAN enable, HWND window)
{
    if (!enable)
        return StopForwarding();
    return StartForwarding(window);
}
