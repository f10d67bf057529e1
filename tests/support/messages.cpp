#include "messages.h"
#include "helper_protocol.h"
#include "quarvo_pavrik.h"
#include <ostream>

std::ostream &operator<<(std::ostream &out, const Received &r)
{
    return out << "{window " << r.window << ", message " << r.message << ", wParam 0x" << std::hex
               << r.wParam << ", lParam 0x" << r.lParam << std::dec << "}";
}

std::ostream &operator<<(std::ostream &out, const std::vector<Received> &list)
{
    out << "[";
    for (size_t i = 0; i < list.size(); ++i)
        out << (i ? ", " : "") << list[i];
    return out << "]";
}

HWND CreateTestWindow(const char *title, int x, int y, int width, int height)
{
    static ATOM windowClass = 0;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!windowClass) {
        WNDCLASSA wc = {};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "QuarvoTestWindow";
        windowClass = RegisterClassA(&wc);
    }
    HWND window = CreateWindowExA(0, "QuarvoTestWindow", title, WS_POPUP | WS_VISIBLE, x, y, width, height,
                                  nullptr, nullptr, instance, nullptr);
    PumpMessages(0);
    return window;
}

// WM_APP and above: reports of the tests' own helpers and hooks.
static bool IsRecorded(UINT message)
{
    return message == WM_GUARD_ALERT || message == WM_GUARD_WINEVENT || message == WM_FKEY_COMMAND ||
           message == WM_MOUSEWHEEL || message == WM_HELPER_REPORT || (message >= WM_APP && message <= 0xBFFF);
}

static void PumpOnce(std::vector<Received> &out)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (IsRecorded(msg.message)) {
            out.push_back({msg.hwnd, msg.message, msg.wParam, msg.lParam});
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::vector<Received> PumpMessages(DWORD milliseconds)
{
    std::vector<Received> out;
    DWORD start = GetTickCount();
    do {
        PumpOnce(out);
        if (milliseconds)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
    PumpOnce(out);
    return out;
}

size_t CountMessages(const std::vector<Received> &list, UINT message)
{
    size_t count = 0;
    for (const Received &r : list)
        count += r.message == message;
    return count;
}

std::vector<Received> PumpUntil(UINT message, size_t count, DWORD milliseconds)
{
    std::vector<Received> out;
    DWORD start = GetTickCount();
    while (CountMessages(out, message) < count && GetTickCount() - start < milliseconds) {
        PumpOnce(out);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    PumpOnce(out);
    return out;
}
