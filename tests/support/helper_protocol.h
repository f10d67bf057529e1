// What the helper program (another process) reports to a test's window.
#pragma once
#include <windows.h>

// Posted by the helper's target window for every keyboard, button and wheel
// message it receives: wParam the message, lParam its wParam (the key).
#define WM_HELPER_REPORT (WM_APP + 7)

// Posted after each report once the helper ran its "stamp" step: wParam
// MAKEWPARAM(the message, the low word of its wParam), lParam the low 32 bits
// of QueryPerformanceCounter when the window received it (the counter is the
// same in every process, so the receiver can rebuild the full value).
#define WM_HELPER_STAMP (WM_APP + 8)
