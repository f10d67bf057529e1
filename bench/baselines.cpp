// Baseline hook procedures, built like the libraries (same compiler, flags
// and no C runtime). Each makes exactly the platform calls of one path of the
// libraries' procedures, with the same arguments, and nothing else: timed
// against a path, it leaves what the library adds of its own.
#include <windows.h>
#include "quarvo_pavrik.h"

static HWND guardWindow = 0;
static HWND wheelWindow = 0;
static HWND alertWindow = 0;
static HWND mainWindow = 0;

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}

// The windows the libraries find in their blocks.
extern "C" void WINAPI SetBaselineWindows(HWND guard, HWND wheel, HWND alert, HWND main)
{
    guardWindow = guard;
    wheelWindow = wheel;
    alertWindow = alert;
    mainWindow = main;
}

static POINT PointOf(LPARAM record)
{
    return reinterpret_cast<const MOUSEHOOKSTRUCT *>(record)->pt;
}

// Pass-on paths: mouse moves, keys other than F1..F12, injected keys.
extern "C" LRESULT CALLBACK PassOnly(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(0, code, wParam, lParam);
}

// Paths that decide without a platform call.
extern "C" LRESULT CALLBACK ReturnZero(int, WPARAM, LPARAM)
{
    return 0;
}

// An alerting key in disable mode.
extern "C" LRESULT CALLBACK PostOnly(int, WPARAM, LPARAM)
{
    PostMessageA(alertWindow, WM_GUARD_ALERT, 0, 0);
    return 0;
}

// A click inside the guard window.
extern "C" LRESULT CALLBACK WindowRectInRect(int, WPARAM, LPARAM record)
{
    RECT rect;
    GetWindowRect(guardWindow, &rect);
    PtInRect(&rect, PointOf(record));
    return 0;
}

// A click outside the guard window.
extern "C" LRESULT CALLBACK WindowRectInRectPost(int, WPARAM, LPARAM record)
{
    RECT rect;
    POINT pt = PointOf(record);
    GetWindowRect(guardWindow, &rect);
    PtInRect(&rect, pt);
    PostMessageA(alertWindow, WM_GUARD_ALERT, 0, 0);
    return 0;
}

// A wheel notch redirected on the NT family.
extern "C" LRESULT CALLBACK IsWindowVersionPost(int, WPARAM, LPARAM record)
{
    OSVERSIONINFOEXA info;
    info.dwOSVersionInfoSize = sizeof info;
    POINT pt = PointOf(record);
    IsWindow(wheelWindow);
    GetVersionExA(reinterpret_cast<OSVERSIONINFOA *>(&info));
    PostMessageA(wheelWindow, WM_MOUSEWHEEL, 0x00780000, MAKELONG(pt.x, pt.y));
    return 1;
}

// A repeat or release of F1..F12 with no modifier held.
extern "C" LRESULT CALLBACK ThreeKeyStates(int, WPARAM, LPARAM)
{
    GetKeyState(VK_CONTROL);
    GetKeyState(VK_SHIFT);
    GetKeyState(VK_MENU);
    return 1;
}

// A first press of F1..F12 with no modifier held.
extern "C" LRESULT CALLBACK ThreeKeyStatesPost(int, WPARAM, LPARAM record)
{
    GetKeyState(VK_CONTROL);
    GetKeyState(VK_SHIFT);
    GetKeyState(VK_MENU);
    PostMessageA(mainWindow, WM_FKEY_COMMAND, FKEY_COMMAND_WPARAM,
                 reinterpret_cast<const KBDLLHOOKSTRUCT *>(record)->vkCode);
    return 1;
}

// A press of F1..F12 with Ctrl held: the first query finds it.
extern "C" LRESULT CALLBACK OneKeyStatePass(int code, WPARAM wParam, LPARAM lParam)
{
    GetKeyState(VK_CONTROL);
    return CallNextHookEx(0, code, wParam, lParam);
}
