// The window that receives the wheel rotation quarvo re-posts in disable
// mode. It is message-only: it never has the focus and lies under no
// pointer, so every WM_MOUSEWHEEL it receives is one quarvo re-posted.
#pragma once
#include <windows.h>

HWND CreateWheelWindow(HINSTANCE instance);
