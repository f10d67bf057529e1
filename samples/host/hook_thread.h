// The thread that owns the desktop-wide hooks.
//
// The platform calls a low-level hook procedure on the thread that placed the
// hook, for every key and click on the desktop, and holds that input back
// until the procedure returns. Placed from the user-interface thread, a slow
// repaint or a modal dialog would hold up typing in every program, and the
// platform silently drops a low-level hook whose thread keeps it waiting
// longer than its time-out. This thread therefore does nothing but pump its
// message queue from the moment it places the hooks until it removes them.
// It does not even log: the log belongs to the user-interface thread, and
// waiting for that thread is exactly what it must never do.
#pragma once
#include <windows.h>

struct PlacedHooks {
    UINT_PTR functionKeyHook; // what InitKBDDll(TRUE) returned
    UINT_PTR disableHooks;    // what InstallDisableHook(TRUE, ...) returned: HOOK_* bits
};

// Starts the thread, which calls InitKBDDll(TRUE) and then
// InstallDisableHook(TRUE, flags, 0), in that order: capture first sets
// skipLowLevelKeyboard, so quarvo leaves the low-level keyboard hook to
// pavrik. Returns once both calls are made, with their results.
bool StartHookThread(DWORD disableFlags, PlacedHooks *placed);

// Makes the thread call InstallDisableHook(FALSE, 0, 0) and then
// InitKBDDll(FALSE), on the thread that placed the hooks, and waits until it
// has ended.
void StopHookThread();
