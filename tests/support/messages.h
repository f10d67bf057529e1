// Test windows and the messages that reach them.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Received &other) const
    {
        return window == other.window && message == other.message && wParam == other.wParam &&
               lParam == other.lParam;
    }
};
std::ostream &operator<<(std::ostream &out, const Received &received);
std::ostream &operator<<(std::ostream &out, const std::vector<Received> &list);

// A visible top-level window of this thread, with double-clicks enabled,
// at the given screen rectangle.
HWND CreateTestWindow(const char *title, int x, int y, int width, int height);

// Pumps this thread's queue for `milliseconds` (0: only what is queued now)
// and returns every message that is one of the library's notifications
// (WM_GUARD_ALERT, WM_GUARD_WINEVENT, WM_FKEY_COMMAND, WM_MOUSEWHEEL) or a
// report from the helper program or another WM_APP-range message of the
// tests, thread messages included, in arrival order.
std::vector<Received> PumpMessages(DWORD milliseconds);

// Pumps until `count` messages matching `message` arrived or `milliseconds`
// passed; returns everything PumpMessages would.
std::vector<Received> PumpUntil(UINT message, size_t count, DWORD milliseconds);

size_t CountMessages(const std::vector<Received> &list, UINT message);
