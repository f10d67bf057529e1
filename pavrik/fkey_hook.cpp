// The function-key capture hook: placing and removing it, and its procedure.
#include "pavrik_state.h"
#include "fkey_rules.h"
#include "hook_slot.h"
#include "platform_family.h"

static LRESULT PassOn(int code, WPARAM message, LPARAM record)
{
    return CallNextHookEx(dataSeg.fkeyHook.handle, code, message, record);
}

// The host may rewrite both blocks at any moment: each field is read once
// per keystroke. Capture needs both blocks; without either it stays off.
static HWND CaptureWindow()
{
    if (!sharedView || !controlView)
        return 0;
    return static_cast<const volatile MainControlData *>(controlView)->mainWindow;
}

static bool IsInputDisabled()
{
    return static_cast<const volatile QuarvoSharedData *>(sharedView)->inputDisabled != 0;
}

// Asked only for F1..F12: this is the one key-state query on the hot path.
static bool IsModifierHeld()
{
    return IsDown(GetKeyState(VK_CONTROL)) || IsDown(GetKeyState(VK_SHIFT)) || IsDown(GetKeyState(VK_MENU));
}

static void PostCommand(HWND window, DWORD key)
{
    PostMessageA(window, WM_FKEY_COMMAND, FKEY_COMMAND_WPARAM, key);
}

// A physical F1..F12 with capture on: unless a modifier is held, the key is
// discarded and its first press since the last release is reported. Kept out
// of line so that the procedure's early exits, taken for nearly every key,
// run without first saving the registers this part needs.
static __attribute__((noinline)) LRESULT CaptureFunctionKey(HWND window, int code, WPARAM message, LPARAM record)
{
    const KBDLLHOOKSTRUCT *key = reinterpret_cast<const KBDLLHOOKSTRUCT *>(record);
    if (IsModifierHeld())
        return PassOn(code, message, record);
    if (IsRelease(key->flags))
        return 1;
    if (LatchPress(&dataSeg.heldFunctionKey, key->vkCode))
        PostCommand(window, key->vkCode);
    return 1;
}

extern "C" LRESULT CALLBACK LowLevelKeyboardProc5(int code, WPARAM message, LPARAM record)
{
    if (code < 0)
        return PassOn(code, message, record);
    HWND window = CaptureWindow();
    const KBDLLHOOKSTRUCT *key = reinterpret_cast<const KBDLLHOOKSTRUCT *>(record);
    if (!window || IsInjected(key->flags))
        return PassOn(code, message, record);
    if (IsRelease(key->flags))
        ClearLatch(&dataSeg.heldFunctionKey);
    if (IsInputDisabled())
        return 0;
    if (!IsCapturedKey(key->vkCode))
        return PassOn(code, message, record);
    return CaptureFunctionKey(window, code, message, record);
}

// Writes nothing when the shared control block could not be mapped.
static void SetSkipLowLevelKeyboard(BYTE value)
{
    if (sharedView)
        static_cast<volatile QuarvoSharedData *>(sharedView)->skipLowLevelKeyboard = value;
}

static UINT_PTR StartCapture()
{
    bool ntFamily = IsNtPlatform();
    if (ntFamily)
        PlaceHookInSlot(&dataSeg.fkeyHook, WH_KEYBOARD_LL, LowLevelKeyboardProc5, moduleHandle, 0);
    SetSkipLowLevelKeyboard(1);
    return ntFamily ? reinterpret_cast<UINT_PTR>(dataSeg.fkeyHook.handle) : 0;
}

static UINT_PTR StopCapture()
{
    BOOL removed = RemoveHookInSlot(&dataSeg.fkeyHook);
    SetSkipLowLevelKeyboard(0);
    return removed;
}

extern "C" UINT_PTR WINAPI InitKBDDll(BOOLEAN enable)
{
    if (!enable)
        return StopCapture();
    return StartCapture();
}
