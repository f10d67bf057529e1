// What the helper program (another process) reports to a test's window.
#pragma once
#include <windows.h>

// Posted by the helper's target window for every keyboard, button and wheel
// message it receives: wParam the message, lParam its wParam (the key).
#define WM_HELPER_REPORT (WM_APP + 7)
