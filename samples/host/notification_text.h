// Readable text for each notification the libraries post to the host.
#pragma once
#include <windows.h>
#include <string>

// WM_GUARD_ALERT (wParam and lParam are 0).
std::string DescribeAlert();
// WM_GUARD_WINEVENT: wParam the event.
std::string DescribeWindowEvent(WPARAM event);
// WM_FKEY_COMMAND: wParam 5, lParam the key.
std::string DescribeFunctionKey(WPARAM command, LPARAM key);
// WM_MOUSEWHEEL re-posted to the wheel window: the delta in the high word of
// wParam, the screen point in lParam.
std::string DescribeWheel(WPARAM wParam, LPARAM point);
