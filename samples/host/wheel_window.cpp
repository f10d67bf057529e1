#include "wheel_window.h"
#include "host_log.h"
#include "notification_text.h"

static LRESULT CALLBACK WheelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEWHEEL) {
        Log(DescribeWheel(wParam, lParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateWheelWindow(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WheelWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "SampleHostWheel";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
}
