// The four input-disable hooks: placing and removing them, their procedures
// and the guard filters that act while disable mode is on.
#include "quarvo_state.h"
#include "guard_rules.h"
#include "hook_slot.h"
#include "platform_family.h"

static void PostAlert()
{
    HWND alert = Block()->alertWindow;
    if (alert) // a null window would queue a thread message in a foreign program
        PostMessageA(alert, WM_GUARD_ALERT, 0, 0);
}

static bool IsInsideWindow(HWND window, POINT pt)
{
    RECT rect;
    return GetWindowRect(window, &rect) && PtInRect(&rect, pt);
}

static LRESULT RedirectWheel(const MOUSEHOOKSTRUCT *record)
{
    HWND wheel = Block()->wheelWindow;
    if (!IsWindow(wheel))
        return 1;
    WPARAM notch = WheelNotchParam(WheelRotation(record, IsNtPlatform()));
    if (notch)
        PostMessageA(wheel, WM_MOUSEWHEEL, notch, ScreenPointParam(record->pt));
    return 1;
}

// Kept out of line so that MouDisableProc's early exits (passing on, disable
// mode off) run without first saving the registers this filter needs.
static __attribute__((noinline)) LRESULT MouseGuardFilter(WPARAM message, const MOUSEHOOKSTRUCT *record)
{
    HWND guard = Block()->guardWindow;
    if (!guard)
        return 0;
    if (message == WM_MOUSEWHEEL)
        return RedirectWheel(record);
    if (IsAlertingButton(message) && !IsInsideWindow(guard, record->pt))
        PostAlert();
    return 0;
}

static LRESULT KeyGuardFilter(WPARAM key)
{
    if (!IsSilentKey(key))
        PostAlert();
    return 0;
}

extern "C" LRESULT CALLBACK MouDisableProc(int code, WPARAM message, LPARAM record)
{
    if (code < 0 || code == HC_NOREMOVE || IsMouseMove(message))
        return CallNextHookEx(dataSeg.mouseHook.handle, code, message, record);
    if (!Block()->inputDisabled)
        return 0;
    return MouseGuardFilter(message, reinterpret_cast<const MOUSEHOOKSTRUCT *>(record));
}

extern "C" LRESULT CALLBACK MouDisableProcL(int code, WPARAM message, LPARAM record)
{
    if (code < 0 || IsMouseMove(message))
        return CallNextHookEx(dataSeg.mouseLowLevelHook.handle, code, message, record);
    return 0;
}

extern "C" LRESULT CALLBACK KbdDisableProc(int code, WPARAM key, LPARAM flags)
{
    if (code < 0 || code == HC_NOREMOVE)
        return CallNextHookEx(dataSeg.keyboardHook.handle, code, key, flags);
    if (!Block()->inputDisabled)
        return 0;
    return KeyGuardFilter(key);
}

extern "C" LRESULT CALLBACK KbdDisableProcL(int code, WPARAM message, LPARAM record)
{
    if (code < 0)
        return CallNextHookEx(dataSeg.keyboardLowLevelHook.handle, code, message, record);
    return 0;
}

static bool MayPlaceLowLevel(BYTE skipFlag, DWORD flags, DWORD wanted)
{
    return !skipFlag && (flags & wanted) && IsNtPlatform();
}

static void PlaceDisableHooks(DWORD flags, DWORD threadId)
{
    if (MayPlaceLowLevel(Block()->skipLowLevelMouse, flags, HOOK_MOUSE_LL))
        PlaceHookInSlot(&dataSeg.mouseLowLevelHook, WH_MOUSE_LL, MouDisableProcL, moduleHandle, 0);
    if (flags & HOOK_MOUSE)
        PlaceHookInSlot(&dataSeg.mouseHook, WH_MOUSE, MouDisableProc, moduleHandle, threadId);
    if (MayPlaceLowLevel(Block()->skipLowLevelKeyboard, flags, HOOK_KEYBOARD_LL))
        PlaceHookInSlot(&dataSeg.keyboardLowLevelHook, WH_KEYBOARD_LL, KbdDisableProcL, moduleHandle, 0);
    if (flags & HOOK_KEYBOARD)
        PlaceHookInSlot(&dataSeg.keyboardHook, WH_KEYBOARD, KbdDisableProc, moduleHandle, threadId);
}

static UINT_PTR PlacedHookFlags()
{
    return (dataSeg.mouseHook.handle ? HOOK_MOUSE : 0) | (dataSeg.mouseLowLevelHook.handle ? HOOK_MOUSE_LL : 0) |
           (dataSeg.keyboardHook.handle ? HOOK_KEYBOARD : 0) | (dataSeg.keyboardLowLevelHook.handle ? HOOK_KEYBOARD_LL : 0);
}

static UINT_PTR RemoveDisableHooks()
{
    RemoveHookInSlot(&dataSeg.mouseHook);
    RemoveHookInSlot(&dataSeg.mouseLowLevelHook);
    RemoveHookInSlot(&dataSeg.keyboardHook);
    return RemoveHookInSlot(&dataSeg.keyboardLowLevelHook);
}

extern "C" UINT_PTR WINAPI InstallDisableHook(BOOLEAN install, DWORD flags, DWORD threadId)
{
    if (!install)
        return RemoveDisableHooks();
    PlaceDisableHooks(flags, threadId);
    return PlacedHookFlags();
}
