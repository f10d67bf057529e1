// InstallDisableHook and the procedures in real hook chains, with real input
// from xdotool: in this thread's own chain and across processes.
#include <cstdio>
#include <string>
#include <vector>
#include "check.h"
#include "guard_fixture.h"
#include "helper_protocol.h"
#include "messages.h"
#include "pe_image.h"
#include "processes.h"
#include "shared_slots.h"

namespace {
const QuarvoSlots &Slots()
{
    return *const_cast<const QuarvoSlots *>(QuarvoDataSeg());
}

DWORD PlacedFlags()
{
    const QuarvoSlots &slots = Slots();
    return (slots.mouseHook.handle ? HOOK_MOUSE : 0) | (slots.mouseLowLevelHook.handle ? HOOK_MOUSE_LL : 0) |
           (slots.keyboardHook.handle ? HOOK_KEYBOARD : 0) | (slots.keyboardLowLevelHook.handle ? HOOK_KEYBOARD_LL : 0);
}

struct RemoveHooksAtEnd {
    ~RemoveHooksAtEnd() { InstallDisableHook(FALSE, 0, 0); }
};

// ---- a recording hook of the test's own, placed before quarvo's ----------
struct Seen {
    int kind;
    int code;
    WPARAM wParam;
    DWORD detail; // key, or low-level vkCode
};
std::vector<Seen> seen;

LRESULT CALLBACK RecordKeyboard(int code, WPARAM key, LPARAM flags)
{
    seen.push_back({WH_KEYBOARD, code, key, 0});
    return CallNextHookEx(nullptr, code, key, flags);
}
LRESULT CALLBACK RecordMouse(int code, WPARAM message, LPARAM record)
{
    seen.push_back({WH_MOUSE, code, message, 0});
    return CallNextHookEx(nullptr, code, message, record);
}
LRESULT CALLBACK RecordKeyboardLL(int code, WPARAM message, LPARAM record)
{
    seen.push_back({WH_KEYBOARD_LL, code, message, reinterpret_cast<KBDLLHOOKSTRUCT *>(record)->vkCode});
    return CallNextHookEx(nullptr, code, message, record);
}
LRESULT CALLBACK RecordMouseLL(int code, WPARAM message, LPARAM record)
{
    seen.push_back({WH_MOUSE_LL, code, message, 0});
    return CallNextHookEx(nullptr, code, message, record);
}

size_t CountSeen(int kind, int code, WPARAM wParam)
{
    size_t count = 0;
    for (const Seen &s : seen)
        count += s.kind == kind && s.code == code && s.wParam == wParam;
    return count;
}

size_t CountSeenKeyLL(DWORD vkCode)
{
    size_t count = 0;
    for (const Seen &s : seen)
        count += s.kind == WH_KEYBOARD_LL && s.detail == vkCode;
    return count;
}

struct OwnHooks {
    HHOOK hooks[4] = {};
    explicit OwnHooks(bool lowLevel)
    {
        HINSTANCE self = GetModuleHandleA(nullptr);
        DWORD thread = GetCurrentThreadId();
        if (lowLevel) {
            hooks[0] = SetWindowsHookExA(WH_KEYBOARD_LL, RecordKeyboardLL, self, 0);
            hooks[1] = SetWindowsHookExA(WH_MOUSE_LL, RecordMouseLL, self, 0);
        } else {
            hooks[0] = SetWindowsHookExA(WH_KEYBOARD, RecordKeyboard, nullptr, thread);
            hooks[1] = SetWindowsHookExA(WH_MOUSE, RecordMouse, nullptr, thread);
        }
        seen.clear();
    }
    ~OwnHooks()
    {
        for (HHOOK hook : hooks)
            if (hook)
                UnhookWindowsHookEx(hook);
    }
};

// Types a key into this thread's focused window, peeking at it once without
// removing it (a HC_NOREMOVE hook call) before the pump removes it. Returns
// the notifications that arrived meanwhile.
std::vector<Received> TypeIntoOwnWindow(const char *key)
{
    CHECK(Xdotool(std::string("key ") + key));
    MSG msg;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 2000; Sleep(10))
        if (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE))
            break;
    return PumpMessages(300);
}

void ClickAt(int x, int y)
{
    CHECK(Xdotool("mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click 1"));
}

std::string HelperWindowArguments(const char *title, HWND report, int x, int y, int width, int height)
{
    char text[200];
    std::snprintf(text, sizeof text, "window %s %lx %d %d %d %d pump 30000", title,
                  static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(report)), x, y, width, height);
    return text;
}

std::vector<Received> OfMessage(const std::vector<Received> &list, UINT message)
{
    std::vector<Received> out;
    for (const Received &r : list)
        if (r.message == message)
            out.push_back(r);
    return out;
}
} // namespace

TEST(install_places_exactly_the_requested_hooks)
{
    RemoveHooksAtEnd cleanup;
    DWORD thread = GetCurrentThreadId();
    const DWORD requests[] = {0, HOOK_MOUSE, HOOK_MOUSE_LL, HOOK_KEYBOARD, HOOK_KEYBOARD_LL,
                              HOOK_MOUSE | HOOK_KEYBOARD, 0xF, 0xFFFFFFF0, 0xFFFFFFFF};
    for (DWORD flags : requests) {
        FailureContext context("flags " + std::to_string(flags));
        CHECK_EQ(static_cast<UINT_PTR>(flags & 0xF), InstallDisableHook(TRUE, flags, thread));
        CHECK_EQ(flags & 0xF, PlacedFlags());
        // Removal reports the outcome of unhooking the low-level keyboard hook.
        UINT_PTR removed = InstallDisableHook(FALSE, 0xF, thread);
        CHECK_EQ((flags & HOOK_KEYBOARD_LL) != 0, removed != 0);
        CHECK_EQ(0UL, PlacedFlags());
    }
}

TEST(repeated_requests_are_harmless)
{
    RemoveHooksAtEnd cleanup;
    DWORD thread = GetCurrentThreadId();
    CHECK_EQ(0xFu, InstallDisableHook(TRUE, 0xF, thread));
    QuarvoSlots first = Slots();
    CHECK_EQ(0xFu, InstallDisableHook(TRUE, 0xF, 0));
    CHECK_EQ(0xFu, InstallDisableHook(TRUE, HOOK_MOUSE, thread));
    CHECK(first.mouseHook.handle == Slots().mouseHook.handle && first.keyboardHook.handle == Slots().keyboardHook.handle);
    CHECK(first.mouseLowLevelHook.handle == Slots().mouseLowLevelHook.handle);
    CHECK(first.keyboardLowLevelHook.handle == Slots().keyboardLowLevelHook.handle);
    CHECK(InstallDisableHook(FALSE, 0, 0) != 0);
    CHECK_EQ(0u, InstallDisableHook(FALSE, 0, 0));
    CHECK_EQ(0u, InstallDisableHook(FALSE, 0xF, thread));
}

// The skip flags are read when a request is made, and only then.
TEST(skip_flags_hold_back_low_level_hooks_at_request_time)
{
    RemoveHooksAtEnd cleanup;
    QuarvoSharedData *block = GetQuarvoSharedData();
    *block = QuarvoSharedData();
    DWORD thread = GetCurrentThreadId();
    struct Row {
        BYTE skipMouse, skipKeyboard;
        DWORD placed;
    } rows[] = {
        {1, 1, HOOK_MOUSE | HOOK_KEYBOARD},
        {0, 1, HOOK_MOUSE | HOOK_KEYBOARD | HOOK_MOUSE_LL},
        {0xFF, 0, 0xF}, // setting a flag later removes nothing
        {1, 1, 0xF},
    };
    for (const Row &row : rows) {
        FailureContext context("skip " + std::to_string(row.skipMouse) + "/" + std::to_string(row.skipKeyboard));
        block->skipLowLevelMouse = row.skipMouse;
        block->skipLowLevelKeyboard = row.skipKeyboard;
        CHECK_EQ(static_cast<UINT_PTR>(row.placed), InstallDisableHook(TRUE, 0xF, thread));
    }
    *block = QuarvoSharedData();
}

// A hook of the test's own, placed first, is called after quarvo's only when
// quarvo passes the event on. A control run without quarvo shows that the
// input arrives.
TEST(ordinary_hooks_in_a_real_chain_pass_on_only_moves_and_peeks)
{
    RemoveHooksAtEnd cleanup;
    QuarvoSharedData *block = GetQuarvoSharedData();
    *block = QuarvoSharedData();
    TestWindows(); // created before the focus is given, so they cannot take it
    CreateTestWindow("chain", 700, 500, 200, 200);
    CHECK(FocusWindow("chain"));
    PumpMessages(200);

    {
        OwnHooks own(false);
        TypeIntoOwnWindow("a");
        CHECK(CountSeen(WH_KEYBOARD, HC_ACTION, 'A') >= 1); // control: the key arrives
    }
    {
        OwnHooks own(false);
        CHECK_EQ(static_cast<UINT_PTR>(HOOK_MOUSE | HOOK_KEYBOARD),
                 InstallDisableHook(TRUE, HOOK_MOUSE | HOOK_KEYBOARD, GetCurrentThreadId()));
        TypeIntoOwnWindow("a");
        CHECK_EQ(0u, CountSeen(WH_KEYBOARD, HC_ACTION, 'A'));  // ended with 0
        CHECK(CountSeen(WH_KEYBOARD, HC_NOREMOVE, 'A') >= 1);  // passed on
        ClickAt(800, 600);
        PumpMessages(300);
        CHECK(CountSeen(WH_MOUSE, HC_ACTION, WM_MOUSEMOVE) >= 1); // passed on
        CHECK_EQ(0u, CountSeen(WH_MOUSE, HC_ACTION, WM_LBUTTONDOWN)); // ended with 0
        CHECK_EQ(0u, CountSeen(WH_MOUSE, HC_ACTION, WM_LBUTTONUP));

        // Disable mode changes the alerts, not the chain: the key reaches the
        // procedure (it alerts for press and release) and the test's hook
        // still does not see it.
        ArmBlock(block, TestWindows());
        block->guardWindow = nullptr;
        seen.clear();
        std::vector<Received> alerts = TypeIntoOwnWindow("b");
        CHECK_EQ(0u, CountSeen(WH_KEYBOARD, HC_ACTION, 'B'));
        CHECK_EQ(2u, CountMessages(alerts, WM_GUARD_ALERT));
    }
    *block = QuarvoSharedData();
}

TEST(low_level_hooks_in_a_real_chain_pass_on_only_moves)
{
    RemoveHooksAtEnd cleanup;
    *GetQuarvoSharedData() = QuarvoSharedData();
    CreateTestWindow("lowchain", 700, 500, 200, 200);
    CHECK(FocusWindow("lowchain"));
    {
        OwnHooks own(true);
        CHECK(Xdotool("key c"));
        PumpMessages(300);
        CHECK(CountSeenKeyLL('C') >= 2); // control: press and release arrive
    }
    {
        OwnHooks own(true);
        CHECK_EQ(static_cast<UINT_PTR>(HOOK_MOUSE_LL | HOOK_KEYBOARD_LL),
                 InstallDisableHook(TRUE, HOOK_MOUSE_LL | HOOK_KEYBOARD_LL, 0));
        CHECK(Xdotool("key c"));
        ClickAt(760, 560);
        PumpMessages(300);
        CHECK_EQ(0u, CountSeenKeyLL('C'));
        CHECK(CountSeen(WH_MOUSE_LL, HC_ACTION, WM_MOUSEMOVE) >= 1);
        CHECK_EQ(0u, CountSeen(WH_MOUSE_LL, HC_ACTION, WM_LBUTTONDOWN));
    }
}

// A desktop-wide hook placed here runs inside the helper process that owns
// the focused window, and alerts this process's window from there.
TEST(global_hooks_alert_this_process_for_input_to_another_process)
{
    RemoveHooksAtEnd cleanup;
    QuarvoSharedData *block = GetQuarvoSharedData();
    const GuardWindows &windows = TestWindows();
    ArmBlock(block, windows);
    HWND report = CreateTestWindow("report", 0, 700, 50, 50);
    Child helper = StartHelper(HelperWindowArguments("CrossTarget", report, 500, 400, 300, 200));
    CHECK(FocusWindow("CrossTarget"));
    CHECK_EQ(static_cast<UINT_PTR>(HOOK_MOUSE | HOOK_KEYBOARD), InstallDisableHook(TRUE, HOOK_MOUSE | HOOK_KEYBOARD, 0));
    PumpMessages(200);

    struct Row {
        const char *xdotool;
        size_t alerts;
        std::vector<Received> helperSaw;
    } rows[] = {
        {"key a", 2, {{report, WM_HELPER_REPORT, WM_KEYDOWN, 'A'}, {report, WM_HELPER_REPORT, WM_KEYUP, 'A'}}},
        {"key F5", 0, {{report, WM_HELPER_REPORT, WM_KEYDOWN, VK_F5}, {report, WM_HELPER_REPORT, WM_KEYUP, VK_F5}}},
        {"key Return", 0,
         {{report, WM_HELPER_REPORT, WM_KEYDOWN, VK_RETURN}, {report, WM_HELPER_REPORT, WM_KEYUP, VK_RETURN}}},
        // A click in the helper's window lies outside the guard window.
        {"mousemove --sync 600 500 click 1", 2,
         {{report, WM_HELPER_REPORT, WM_LBUTTONDOWN, MK_LBUTTON}, {report, WM_HELPER_REPORT, WM_LBUTTONUP, 0}}},
    };
    for (const Row &row : rows) {
        FailureContext context(row.xdotool);
        CHECK(Xdotool(row.xdotool));
        std::vector<Received> got = PumpUntil(WM_HELPER_REPORT, row.helperSaw.size(), 3000);
        std::vector<Received> more = PumpMessages(300);
        got.insert(got.end(), more.begin(), more.end());
        CHECK_EQ(row.helperSaw, OfMessage(got, WM_HELPER_REPORT));
        CHECK_EQ(std::vector<Received>(row.alerts, Received{windows.alert, WM_GUARD_ALERT, 0, 0}),
                 OfMessage(got, WM_GUARD_ALERT));
    }

    // A wheel notch over the helper's window is taken from it and re-posted
    // to the wheel window, one notch up.
    CHECK(Xdotool("mousemove --sync 650 450 click 4"));
    std::vector<Received> got = PumpUntil(WM_MOUSEWHEEL, 1, 3000);
    std::vector<Received> more = PumpMessages(300);
    got.insert(got.end(), more.begin(), more.end());
    CHECK_EQ((std::vector<Received>{{windows.wheel, WM_MOUSEWHEEL, 0x00780000, MAKELPARAM(650, 450)}}),
             OfMessage(got, WM_MOUSEWHEEL));
    CHECK_EQ(0u, CountMessages(got, WM_HELPER_REPORT));

    InstallDisableHook(FALSE, 0, 0);
    *block = QuarvoSharedData();
    PostMessageA(FindWindowA(nullptr, "CrossTarget"), WM_CLOSE, 0, 0);
    CHECK_EQ(0UL, FinishChild(helper, 5000));
}
