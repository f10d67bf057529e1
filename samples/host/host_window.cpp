#include "host_window.h"
#include "host_log.h"
#include "notification_text.h"
#include "quarvo_pavrik.h"
#include "wheel_window.h"

const char *const HOST_WINDOW_TITLE = "quarvo and pavrik sample host";

namespace {
enum ControlId { DISABLE_MODE_SWITCH = 101, HOST_MODE_SWITCH = 102 };

const int MARGIN = 12;
const int GUARD_HEIGHT = 100;
const int CAPTION_HEIGHT = 24;
const COLORREF GUARD_COLOUR = RGB(222, 240, 222);
const char *const GUARD_TEXT = "Guard window: clicks in here are allowed in disable mode";

HFONT textFont = nullptr;
HFONT logFont = nullptr;
HBRUSH guardBrush = nullptr;
HWND guardPanel = nullptr;
HWND logCaption = nullptr;
HWND logList = nullptr;

HWND CreateChild(const char *className, const char *text, DWORD style, HWND parent, int id, HFONT font)
{
    HWND child = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                 nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

bool IsChecked(HWND button)
{
    return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OnSwitch(int id, HWND button)
{
    bool on = IsChecked(button);
    if (id == DISABLE_MODE_SWITCH) {
        SetDisableMode(on);
        Log(on ? "Disable mode on" : "Disable mode off");
    } else if (id == HOST_MODE_SWITCH) {
        SetHostMode(on ? QUARVO_MUTED_HOST_MODE : 0);
        Log(on ? "hostMode 310" : "hostMode 0");
    }
}

// The panel that is the guard window: its two switches are inside it, so
// working them never alerts.
LRESULT CALLBACK GuardPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateChild("BUTTON", "Disable mode (inputDisabled)", BS_AUTOCHECKBOX, window, DISABLE_MODE_SWITCH, textFont);
        CreateChild("BUTTON", "hostMode 310 (mutes window events in disable mode)", BS_AUTOCHECKBOX, window,
                    HOST_MODE_SWITCH, textFont);
        MoveWindow(GetDlgItem(window, DISABLE_MODE_SWITCH), MARGIN, 38, 600, 24, FALSE);
        MoveWindow(GetDlgItem(window, HOST_MODE_SWITCH), MARGIN, 66, 600, 24, FALSE);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            OnSwitch(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(guardBrush);
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        SelectObject(dc, textFont);
        SetBkMode(dc, TRANSPARENT);
        TextOutA(dc, MARGIN, 10, GUARD_TEXT, lstrlenA(GUARD_TEXT));
        EndPaint(window, &paint);
        return 0;
    }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Layout(HWND main)
{
    RECT client;
    GetClientRect(main, &client);
    int width = client.right - 2 * MARGIN;
    int logTop = MARGIN + GUARD_HEIGHT + MARGIN + CAPTION_HEIGHT;
    MoveWindow(guardPanel, MARGIN, MARGIN, width, GUARD_HEIGHT, TRUE);
    MoveWindow(logCaption, MARGIN, logTop - CAPTION_HEIGHT, width, CAPTION_HEIGHT, TRUE);
    MoveWindow(logList, MARGIN, logTop, width, client.bottom - logTop - MARGIN, TRUE);
}

// The main window is the mainWindow, alertWindow and event window of the
// libraries: the notifications arrive here and go to the log.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        guardPanel = CreateChild("SampleHostGuard", "", 0, window, 0, textFont);
        logCaption = CreateChild("STATIC", "Notifications received (newest at the bottom):", 0, window, 0, textFont);
        logList = CreateChild("LISTBOX", "", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, window, 0,
                              logFont);
        return 0;
    case WM_SIZE:
        Layout(window);
        return 0;
    case WM_GUARD_ALERT:
        Log(DescribeAlert());
        return 0;
    case WM_GUARD_WINEVENT:
        Log(DescribeWindowEvent(wParam));
        return 0;
    case WM_FKEY_COMMAND:
        Log(DescribeFunctionKey(wParam, lParam));
        return 0;
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);

    wc.lpfnWndProc = GuardPanelProc;
    wc.hbrBackground = guardBrush;
    wc.lpszClassName = "SampleHostGuard";
    RegisterClassA(&wc);

    wc.lpfnWndProc = MainWindowProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "SampleHostMain";
    RegisterClassA(&wc);
}

HFONT CreateTextFont(int height, DWORD pitchAndFamily, const char *face)
{
    return CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, pitchAndFamily, face);
}
} // namespace

HostWindows CreateHostWindows(HINSTANCE instance)
{
    textFont = CreateTextFont(15, VARIABLE_PITCH | FF_SWISS, "Tahoma");
    logFont = CreateTextFont(16, FIXED_PITCH | FF_MODERN, "Courier New");
    guardBrush = CreateSolidBrush(GUARD_COLOUR);
    RegisterClasses(instance);
    HWND main = CreateWindowExA(0, "SampleHostMain", HOST_WINDOW_TITLE, WS_OVERLAPPEDWINDOW, 40, 40, 900, 640,
                                nullptr, nullptr, instance, nullptr);
    ShowLogIn(logList);
    return HostWindows{main, guardPanel, CreateWheelWindow(instance)};
}

void DestroyHostWindows(const HostWindows &windows)
{
    ShowLogIn(nullptr);
    DestroyWindow(windows.wheel);
    DestroyWindow(windows.main);
    DeleteObject(textFont);
    DeleteObject(logFont);
    DeleteObject(guardBrush);
}
