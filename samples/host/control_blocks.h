// The host's fields of both shared blocks. The libraries' hook procedures
// read them afresh at every event, in whatever process they run in, so each
// write takes effect at the next click or key.
#pragma once
#include <windows.h>

struct HostWindows {
    HWND main;  // mainWindow: F-key commands; also the alert and event window
    HWND guard; // guardWindow: clicks inside it are allowed in disable mode
    HWND wheel; // wheelWindow: wheel rotation re-posted in disable mode
};

// Names the host's windows, disable mode off, hostMode 0, both low-level
// hooks allowed. False when pavrik has no main-control block (function keys
// then stay uncaptured).
bool FillBlocks(const HostWindows &windows);

void SetDisableMode(bool on);
void SetHostMode(DWORD mode);

// Leaves no window of this host in either block and disable mode off, for
// whichever host comes next; the blocks outlive this process as long as any
// other process holds them.
void ClearBlocks();
