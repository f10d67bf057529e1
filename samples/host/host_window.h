// The host's windows: the main window, which holds the guard panel with the
// two switches and the log, and the message-only wheel window.
#pragma once
#include <windows.h>
#include "control_blocks.h"

// Title of the main window (scripts find the window by it).
extern const char *const HOST_WINDOW_TITLE;

// Creates them all, hidden; the log is shown in the main window's list.
// Closing the main window ends the message loop and leaves the windows for
// DestroyHostWindows, so the host can switch everything off first.
HostWindows CreateHostWindows(HINSTANCE instance);

void DestroyHostWindows(const HostWindows &windows);
