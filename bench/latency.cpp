#include "latency.h"
#include <cstdio>
#include <string>
#include "clock.h"
#include "helper_protocol.h"
#include "pe_image.h"
#include "processes.h"
#include "quarvo_pavrik.h"

namespace {
typedef QuarvoSharedData *(WINAPI *SharedGetter)();
typedef MainControlData *(WINAPI *ControlGetter)();
typedef UINT_PTR(WINAPI *InitKbd)(BOOLEAN);
typedef UINT_PTR(WINAPI *InstallDisable)(BOOLEAN, DWORD, DWORD);

const char *const targetTitle = "bench-target";
const RECT targetRect = {100, 100, 500, 400}; // the helper's focused window
// Clicks alternate between two points on it: two clicks at one point in
// quick succession would make a double-click, which raises no alert.
const POINT clickPoints[2] = {{300, 250}, {340, 250}};
const POINT restPoint = {200, 200};
const RECT guardRect = {700, 600, 900, 750}; // elsewhere: the clicks are outside
const DWORD sampleTimeout = 5000;            // ms
const DWORD settle = 30;                     // ms for the key or button release to pass

enum Kind { FunctionKey, OrdinaryKey, Click, KindCount, NoSample = KindCount };

// What the current sample has seen. The host thread writes each time once,
// then sets its bit; the main thread reads a time only after its bit.
const LONG hookSeen = 1, receiptSeen = 2, arrivalSeen = 4;
struct Sample {
    volatile LONG kind = NoSample;
    volatile LONG seen = 0;
    LONGLONG hook = 0;    // the first low-level hook
    LONGLONG receipt = 0; // the host's window: WM_FKEY_COMMAND or WM_GUARD_ALERT
    LONGLONG arrival = 0; // the helper's window: key A or the button press
} sample;

void Mark(LONGLONG *time, LONG bit, LONGLONG now)
{
    if (sample.seen & bit)
        return;
    *time = now;
    InterlockedOr(&sample.seen, bit);
}

HHOOK keyboardStamp = nullptr;
HHOOK mouseStamp = nullptr;

LRESULT CALLBACK StampKeyboard(int code, WPARAM message, LPARAM record)
{
    LONGLONG now = Now();
    const KBDLLHOOKSTRUCT *key = reinterpret_cast<const KBDLLHOOKSTRUCT *>(record);
    if (code >= 0 && !(key->flags & LLKHF_UP) &&
        ((sample.kind == FunctionKey && key->vkCode == VK_F5) || (sample.kind == OrdinaryKey && key->vkCode == 'A')))
        Mark(&sample.hook, hookSeen, now);
    return CallNextHookEx(keyboardStamp, code, message, record);
}

LRESULT CALLBACK StampMouse(int code, WPARAM message, LPARAM record)
{
    LONGLONG now = Now();
    if (code >= 0 && message == WM_LBUTTONDOWN && sample.kind == Click)
        Mark(&sample.hook, hookSeen, now);
    return CallNextHookEx(mouseStamp, code, message, record);
}

// The helper stamps with the low 32 bits of the counter; the full value is
// the latest one with those low bits before now.
LONGLONG FullTime(LONGLONG now, DWORD low)
{
    return now - static_cast<DWORD>(static_cast<DWORD>(now) - low);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LONGLONG now = Now();
    switch (message) {
    case WM_FKEY_COMMAND:
        if (sample.kind == FunctionKey)
            Mark(&sample.receipt, receiptSeen, now);
        return 0;
    case WM_GUARD_ALERT:
        if (sample.kind == Click)
            Mark(&sample.receipt, receiptSeen, now);
        return 0;
    case WM_HELPER_STAMP:
        if ((sample.kind == OrdinaryKey && LOWORD(wParam) == WM_KEYDOWN && HIWORD(wParam) == 'A') ||
            (sample.kind == Click && LOWORD(wParam) == WM_LBUTTONDOWN))
            Mark(&sample.arrival, arrivalSeen, FullTime(now, static_cast<DWORD>(lParam)));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND HiddenWindow(const char *className, const RECT &rect)
{
    return CreateWindowExA(0, className, "", WS_POPUP, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The host: its windows, the libraries' hooks and the stamping hooks, all on
// one thread that does nothing but pump, as a host's window thread would.
struct Host {
    InitKbd initKbd;
    InstallDisable installDisable;
    HANDLE ready;
    HWND window = nullptr;
    HWND guard = nullptr;
    bool hooked = false;
};

DWORD WINAPI HostThread(void *parameter)
{
    Host &host = *static_cast<Host *>(parameter);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QuarvoBenchHost";
    RegisterClassA(&wc);
    host.window = HiddenWindow(wc.lpszClassName, {0, 0, 10, 10});
    host.guard = HiddenWindow(wc.lpszClassName, guardRect);
    HINSTANCE self = GetModuleHandleA(nullptr);
    UINT_PTR fkeyHook = host.initKbd(TRUE);
    UINT_PTR placed = host.installDisable(TRUE, HOOK_MOUSE | HOOK_MOUSE_LL, 0);
    // Placed last, so the system calls them first.
    keyboardStamp = SetWindowsHookExA(WH_KEYBOARD_LL, StampKeyboard, self, 0);
    mouseStamp = SetWindowsHookExA(WH_MOUSE_LL, StampMouse, self, 0);
    host.hooked = fkeyHook && placed == (HOOK_MOUSE | HOOK_MOUSE_LL) && keyboardStamp && mouseStamp;
    SetEvent(host.ready);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    UnhookWindowsHookEx(mouseStamp);
    UnhookWindowsHookEx(keyboardStamp);
    host.installDisable(FALSE, 0, 0);
    host.initKbd(FALSE);
    DestroyWindow(host.guard);
    DestroyWindow(host.window);
    return 0;
}

// Nanoseconds from xdotool's start and from the first low-level hook: to the
// host's receipt (the key A: to its arrival), and for clicks to the press's
// arrival at its window too.
struct Times {
    double total, tail, arrivalTotal, arrivalTail;
};

std::string MoveTo(POINT point)
{
    return "mousemove --sync " + std::to_string(point.x) + " " + std::to_string(point.y);
}

std::string Command(Kind kind)
{
    static int clicks = 0;
    if (kind == FunctionKey)
        return "key F5";
    if (kind == OrdinaryKey)
        return "key a";
    return MoveTo(clickPoints[clicks++ % 2]) + " click 1";
}

bool TakeSample(Kind kind, volatile QuarvoSharedData *block, Times *times)
{
    block->inputDisabled = kind == Click;
    sample.kind = NoSample;
    sample.seen = 0;
    MemoryBarrier();
    sample.kind = kind;
    LONG needed = hookSeen | (kind == OrdinaryKey ? arrivalSeen : receiptSeen) | (kind == Click ? arrivalSeen : 0);
    LONGLONG start = Now();
    bool sent = Xdotool(Command(kind));
    for (DWORD begin = GetTickCount(); (sample.seen & needed) != needed && GetTickCount() - begin < sampleTimeout;)
        Sleep(1);
    bool complete = sent && (sample.seen & needed) == needed;
    sample.kind = NoSample;
    Sleep(settle);
    LONGLONG end = kind == OrdinaryKey ? sample.arrival : sample.receipt;
    // Out of order stamps would mean the processes' counters disagree.
    bool ordered = start <= sample.hook && sample.hook <= end && (kind != Click || sample.hook <= sample.arrival);
    if (!complete || !ordered)
        return false;
    *times = {Nanoseconds(end - start), Nanoseconds(end - sample.hook), Nanoseconds(sample.arrival - start),
              Nanoseconds(sample.arrival - sample.hook)};
    return true;
}

struct Series {
    std::vector<double> total, tail, arrivalTotal, arrivalTail;
};

std::string HelperArguments(HWND report)
{
    char text[160];
    std::snprintf(text, sizeof text, "stamp window %s %lx %ld %ld %ld %ld pump 600000", targetTitle,
                  static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(report)), targetRect.left, targetRect.top,
                  targetRect.right - targetRect.left, targetRect.bottom - targetRect.top);
    return text;
}

Row Unmeasured(const std::string &why)
{
    return {"end-to-end latency", why, "", "", "", "", ""};
}

// Rounds with an incomplete sample are dropped whole, so samples pair up.
Row LatencyRow(const std::string &figure, const Series &series, unsigned rounds, const Comparison &comparison,
               const std::string &baseline, const std::string &goal)
{
    std::string samples = std::to_string(series.tail.size()) + " of " + std::to_string(rounds) + " rounds";
    return {figure, samples, Duration(comparison.subject), TimedRatio(comparison, baseline), "", "", goal};
}
} // namespace

std::vector<Row> LatencyRows(const Libraries &libraries, unsigned rounds)
{
    QuarvoSharedData *block = ExportOf<SharedGetter>(libraries.quarvo, "GetQuarvoSharedData")();
    MainControlData *control = ExportOf<ControlGetter>(libraries.pavrik, "GetMainControlData")();
    Host host = {ExportOf<InitKbd>(libraries.pavrik, "InitKBDDll"),
                 ExportOf<InstallDisable>(libraries.quarvo, "InstallDisableHook"),
                 CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    if (!block || !control || !host.initKbd || !host.installDisable)
        return {Unmeasured("the libraries' exports are out of reach")};
    *block = QuarvoSharedData();

    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, HostThread, &host, 0, &threadId);
    WaitForSingleObject(host.ready, 10000);
    CloseHandle(host.ready);
    block->guardWindow = host.guard;
    block->wheelWindow = host.window;
    block->alertWindow = host.window;
    control->mainWindow = host.window;

    Child helper = StartHelper(HelperArguments(host.window));
    bool ready = host.hooked && helper.process && FocusWindow(targetTitle) && Xdotool(MoveTo(restPoint));

    Series series[KindCount];
    Times times;
    for (int kind = 0; ready && kind < KindCount; ++kind) // warm-up: loads quarvo into the helper
        TakeSample(static_cast<Kind>(kind), block, &times);
    for (unsigned round = 0; ready && round < rounds; ++round) {
        bool all = true;
        Times taken[KindCount];
        for (int step = 0; step < KindCount; ++step) {
            int kind = (round + step) % KindCount;
            all = TakeSample(static_cast<Kind>(kind), block, &taken[kind]) && all;
        }
        for (int kind = 0; all && kind < KindCount; ++kind) {
            series[kind].total.push_back(taken[kind].total);
            series[kind].tail.push_back(taken[kind].tail);
            series[kind].arrivalTotal.push_back(taken[kind].arrivalTotal);
            series[kind].arrivalTail.push_back(taken[kind].arrivalTail);
        }
    }

    control->mainWindow = nullptr;
    *block = QuarvoSharedData();
    if (HWND target = FindWindowA(nullptr, targetTitle))
        PostMessageA(target, WM_CLOSE, 0, 0);
    FinishChild(helper, 10000);
    PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);

    if (!ready)
        return {Unmeasured("the host's hooks, the helper's window or xdotool were not ready")};
    if (series[FunctionKey].tail.empty())
        return {Unmeasured("no complete round of samples")};
    const Series &fkey = series[FunctionKey], &key = series[OrdinaryKey], &click = series[Click];
    Comparison fkeyTail = Compare(fkey.tail, key.tail);
    return {
        LatencyRow("F5 to the host's WM_FKEY_COMMAND, after the first low-level hook", fkey, rounds, fkeyTail,
                   "key A to its window, after the first low-level hook", GoalText("<= 1.00", fkeyTail.ratio <= 1.0)),
        LatencyRow("F5 to the host's WM_FKEY_COMMAND, from xdotool's start", fkey, rounds,
                   Compare(fkey.total, key.total), "key A to its window, from xdotool's start", ""),
        LatencyRow("click outside the guard window to WM_GUARD_ALERT, after the first low-level hook", click, rounds,
                   Compare(click.tail, click.arrivalTail), "the click to its window, after the first low-level hook",
                   ""),
        LatencyRow("click outside the guard window to WM_GUARD_ALERT, from xdotool's start", click, rounds,
                   Compare(click.total, click.arrivalTotal), "the click to its window, from xdotool's start", ""),
    };
}
