// The sample host of quarvo.dll and pavrik.dll.
//
//   sample_host.exe [--log-stdout]
//
// Loads both libraries, hands them its windows, starts window-event
// forwarding, function-key capture and the input-disable hooks, and logs
// every notification it receives. Its switches turn disable mode and
// hostMode 310 on and off. When its window is closed it switches everything
// off in the order the libraries require and only then unloads them.
// --log-stdout writes the log to standard output too.
#include <windows.h>
#include <cstring>
#include <string>
#include "control_blocks.h"
#include "hook_thread.h"
#include "host_libraries.h"
#include "host_log.h"
#include "host_window.h"

static const DWORD ALL_DISABLE_HOOKS = HOOK_MOUSE | HOOK_MOUSE_LL | HOOK_KEYBOARD | HOOK_KEYBOARD_LL;

static bool HasOption(const char *option)
{
    for (int i = 1; i < __argc; ++i)
        if (std::strcmp(__argv[i], option) == 0)
            return true;
    return false;
}

static std::string HookNames(UINT_PTR flags)
{
    static const struct {
        DWORD flag;
        const char *name;
    } names[] = {{HOOK_MOUSE, "mouse"},
                 {HOOK_MOUSE_LL, "low-level mouse"},
                 {HOOK_KEYBOARD, "keyboard"},
                 {HOOK_KEYBOARD_LL, "low-level keyboard"}};
    std::string text;
    for (const auto &entry : names)
        if (flags & entry.flag)
            text += (text.empty() ? "" : ", ") + std::string(entry.name);
    return text.empty() ? "none" : text;
}

static void SwitchOn(const HostWindows &windows)
{
    if (!FillBlocks(windows))
        Log("pavrik has no main-control block: function keys stay uncaptured");
    // Enabled and later disabled on this thread: the registration belongs to it.
    Log(libraries.initQuarvoDll(TRUE, windows.main) ? "Window-event forwarding on"
                                                    : "Window-event forwarding refused");
    PlacedHooks placed = {};
    if (!StartHookThread(ALL_DISABLE_HOOKS, &placed)) {
        Log("Cannot start the hook thread");
        return;
    }
    Log(placed.functionKeyHook ? "Function-key capture on" : "Function-key capture refused");
    Log("Input-disable hooks placed: " + HookNames(placed.disableHooks));
}

// The reverse of SwitchOn, in the order the libraries require.
static void SwitchOff()
{
    StopHookThread();
    Log("Input-disable hooks removed, function-key capture off");
    libraries.initQuarvoDll(FALSE, nullptr);
    Log("Window-event forwarding off");
    ClearBlocks();
}

static void RunMessageLoop()
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    bool logToStdout = HasOption("--log-stdout");
    if (logToStdout)
        LogToStandardOutput();
    std::string error;
    if (!LoadHostLibraries(&error)) {
        Log(error);
        if (!logToStdout) // a script reads the log; nobody would close the box
            MessageBoxA(nullptr, error.c_str(), HOST_WINDOW_TITLE, MB_ICONERROR);
        return 1;
    }
    Log("Loaded quarvo.dll and pavrik.dll");

    HostWindows windows = CreateHostWindows(instance);
    ShowWindow(windows.main, show);
    UpdateWindow(windows.main);
    SwitchOn(windows);

    RunMessageLoop();

    SwitchOff();
    DestroyHostWindows(windows);
    UnloadHostLibraries();
    Log("Unloaded pavrik.dll and quarvo.dll");
    return 0;
}
