// Decisions of the input-disable procedures, called directly through their
// exports with crafted records. Outside a real hook chain CallNextHookEx
// returns 0, so "pass on" and "return 0" look alike here; the real-chain
// tests tell them apart.
#include <cstdio>
#include <string>
#include <vector>
#include "check.h"
#include "guard_fixture.h"
#include "messages.h"

namespace {
const LONG insideX = 150, insideY = 150, outsideX = 50, outsideY = 50;

QuarvoSharedData *Armed()
{
    QuarvoSharedData *block = GetQuarvoSharedData();
    ArmBlock(block, TestWindows());
    PumpMessages(0);
    return block;
}

LRESULT Mouse(int code, UINT message, MOUSEHOOKSTRUCTEX record)
{
    return MouDisableProc(code, message, reinterpret_cast<LPARAM>(&record));
}

std::vector<Received> Alerts(size_t count)
{
    return std::vector<Received>(count, Received{TestWindows().alert, WM_GUARD_ALERT, 0, 0});
}

std::string Hex(UINT value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", value);
    return text;
}

const UINT alertingButtons[] = {WM_LBUTTONDOWN,   WM_LBUTTONUP,    WM_RBUTTONDOWN,   WM_RBUTTONUP,
                                WM_MBUTTONUP,     WM_XBUTTONUP,    WM_NCLBUTTONDOWN, WM_NCLBUTTONUP,
                                WM_NCRBUTTONDOWN, WM_NCRBUTTONUP,  WM_NCMBUTTONUP,   WM_NCXBUTTONUP};

const UINT quietMouseMessages[] = {WM_MBUTTONDOWN,   WM_XBUTTONDOWN,   WM_NCMBUTTONDOWN, WM_NCXBUTTONDOWN,
                                   WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK, WM_XBUTTONDBLCLK,
                                   WM_NCLBUTTONDBLCLK, WM_NCRBUTTONDBLCLK, WM_NCMBUTTONDBLCLK,
                                   WM_NCXBUTTONDBLCLK, WM_MOUSEHWHEEL, WM_MOUSEMOVE, WM_NCMOUSEMOVE,
                                   WM_MOUSEHOVER,    WM_MOUSELEAVE};
} // namespace

TEST(button_messages_outside_the_guard_window_alert_once_each)
{
    Armed();
    for (UINT message : alertingButtons) {
        FailureContext context("message " + Hex(message));
        CHECK_EQ(0, Mouse(HC_ACTION, message, MouseRecord(outsideX, outsideY)));
        CHECK_EQ(Alerts(1), PumpMessages(0));
        CHECK_EQ(0, Mouse(HC_ACTION, message, MouseRecord(insideX, insideY)));
        CHECK_EQ(Alerts(0), PumpMessages(0));
    }
}

TEST(other_mouse_messages_never_alert_and_reach_their_window)
{
    Armed();
    for (UINT message : quietMouseMessages) {
        FailureContext context("message " + Hex(message));
        CHECK_EQ(0, Mouse(HC_ACTION, message, MouseRecord(outsideX, outsideY)));
        CHECK_EQ(Alerts(0), PumpMessages(0));
    }
}

// Left and top edges are inside the rectangle, right and bottom outside.
TEST(guard_rectangle_edges)
{
    Armed();
    struct Row {
        LONG x, y;
        size_t alerts;
    } rows[] = {
        {kGuardRect.left, kGuardRect.top, 0},           {kGuardRect.right - 1, kGuardRect.bottom - 1, 0},
        {kGuardRect.right, insideY, 1},                 {insideX, kGuardRect.bottom, 1},
        {kGuardRect.left - 1, insideY, 1},              {insideX, kGuardRect.top - 1, 1},
        {kGuardRect.right, kGuardRect.bottom, 1},       {-30000, -30000, 1},
    };
    for (const Row &row : rows) {
        FailureContext context("point " + std::to_string(row.x) + "," + std::to_string(row.y));
        CHECK_EQ(0, Mouse(HC_ACTION, WM_LBUTTONDOWN, MouseRecord(row.x, row.y)));
        CHECK_EQ(Alerts(row.alerts), PumpMessages(0));
    }
}

TEST(left_double_click_outside_gives_three_alerts_and_middle_click_one)
{
    Armed();
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        Mouse(HC_ACTION, message, MouseRecord(outsideX, outsideY));
    CHECK_EQ(Alerts(3), PumpMessages(0));
    for (UINT message : {WM_MBUTTONDOWN, WM_MBUTTONUP})
        Mouse(HC_ACTION, message, MouseRecord(outsideX, outsideY));
    CHECK_EQ(Alerts(1), PumpMessages(0));
}

// One notch per message whatever the delta; lParam carries the screen point.
TEST(wheel_is_taken_and_reposted_to_the_wheel_window)
{
    Armed();
    HWND wheel = TestWindows().wheel;
    struct Row {
        SHORT delta;
        LONG x, y;
        std::vector<Received> posted;
    } rows[] = {
        {120, outsideX, outsideY, {{wheel, WM_MOUSEWHEEL, 0x00780000, MAKELPARAM(outsideX, outsideY)}}},
        {-240, insideX, insideY, {{wheel, WM_MOUSEWHEEL, 0xFF880000, MAKELPARAM(insideX, insideY)}}},
        {1, -5, -7, {{wheel, WM_MOUSEWHEEL, 0x00780000, static_cast<LPARAM>(0xFFF9FFFB)}}},
        {-1, 70000, 3, {{wheel, WM_MOUSEWHEEL, 0xFF880000, MAKELPARAM(70000 & 0xFFFF, 3)}}},
        {0, outsideX, outsideY, {}},
    };
    for (const Row &row : rows) {
        FailureContext context("delta " + std::to_string(row.delta));
        CHECK_EQ(1, Mouse(HC_ACTION, WM_MOUSEWHEEL, MouseRecord(row.x, row.y, row.delta)));
        CHECK_EQ(row.posted, PumpMessages(0));
    }
}

// The NT family's extended record has the rotation in mouseData; the low
// word of dwExtraInfo (where the older family keeps it) is not looked at.
TEST(wheel_rotation_comes_from_mouse_data_on_the_nt_family)
{
    Armed();
    MOUSEHOOKSTRUCTEX record = MouseRecord(outsideX, outsideY, -120, 120);
    CHECK_EQ(1, Mouse(HC_ACTION, WM_MOUSEWHEEL, record));
    CHECK_EQ((std::vector<Received>{{TestWindows().wheel, WM_MOUSEWHEEL, 0xFF880000, MAKELPARAM(outsideX, outsideY)}}),
             PumpMessages(0));
}

TEST(wheel_without_a_valid_wheel_window_is_discarded_silently)
{
    QuarvoSharedData *block = Armed();
    HWND gone = CreateTestWindow("gone", 0, 0, 10, 10);
    DestroyWindow(gone);
    for (HWND wheel : {HWND(nullptr), gone, reinterpret_cast<HWND>(0x7FFF1234)}) {
        block->wheelWindow = wheel;
        CHECK_EQ(1, Mouse(HC_ACTION, WM_MOUSEWHEEL, MouseRecord(outsideX, outsideY, 120)));
        CHECK_EQ(Alerts(0), PumpMessages(0));
    }
}

TEST(guard_window_zero_switches_the_mouse_guard_off_but_not_keys)
{
    QuarvoSharedData *block = Armed();
    block->guardWindow = nullptr;
    for (UINT message : {UINT(WM_LBUTTONDOWN), UINT(WM_RBUTTONUP), UINT(WM_MOUSEWHEEL)}) {
        FailureContext context("message " + Hex(message));
        CHECK_EQ(0, Mouse(HC_ACTION, message, MouseRecord(outsideX, outsideY, 120)));
        CHECK_EQ(Alerts(0), PumpMessages(0));
    }
    CHECK_EQ(0, KbdDisableProc(HC_ACTION, 'A', 0));
    CHECK_EQ(Alerts(1), PumpMessages(0));
}

// A guard window that no longer exists gives no rectangle: clicks count as
// outside.
TEST(stale_guard_window_counts_clicks_as_outside)
{
    QuarvoSharedData *block = Armed();
    HWND gone = CreateTestWindow("gone", kGuardRect.left, kGuardRect.top, 200, 150);
    DestroyWindow(gone);
    block->guardWindow = gone;
    CHECK_EQ(0, Mouse(HC_ACTION, WM_LBUTTONDOWN, MouseRecord(insideX, insideY)));
    CHECK_EQ(Alerts(1), PumpMessages(0));
}

TEST(alert_window_zero_posts_nothing_anywhere)
{
    QuarvoSharedData *block = Armed();
    block->alertWindow = nullptr;
    CHECK_EQ(0, Mouse(HC_ACTION, WM_LBUTTONDOWN, MouseRecord(outsideX, outsideY)));
    CHECK_EQ(0, KbdDisableProc(HC_ACTION, 'A', 0));
    CHECK_EQ(Alerts(0), PumpMessages(0)); // no thread message either
}

TEST(nothing_happens_while_input_is_enabled)
{
    QuarvoSharedData *block = Armed();
    block->inputDisabled = 0;
    for (UINT message : alertingButtons) {
        CHECK_EQ(0, Mouse(HC_ACTION, message, MouseRecord(outsideX, outsideY)));
    }
    CHECK_EQ(0, Mouse(HC_ACTION, WM_MOUSEWHEEL, MouseRecord(outsideX, outsideY, 120)));
    CHECK_EQ(0, KbdDisableProc(HC_ACTION, 'A', 0));
    CHECK_EQ(0, KbdDisableProc(HC_ACTION, VK_F13, 0));
    CHECK_EQ(Alerts(0), PumpMessages(0));
}

// Negative codes and HC_NOREMOVE peeks are passed on before anything else.
TEST(negative_code_and_noremove_are_passed_on_untouched)
{
    Armed();
    for (int code : {-1, -100, int(HC_NOREMOVE)}) {
        FailureContext context("code " + std::to_string(code));
        CHECK_EQ(0, Mouse(code, WM_LBUTTONDOWN, MouseRecord(outsideX, outsideY)));
        CHECK_EQ(0, Mouse(code, WM_MOUSEWHEEL, MouseRecord(outsideX, outsideY, 120)));
        CHECK_EQ(0, KbdDisableProc(code, 'A', 0));
        CHECK_EQ(Alerts(0), PumpMessages(0));
    }
}

TEST(silent_keys_pass_quietly_and_every_other_key_alerts)
{
    Armed();
    struct Row {
        WPARAM key;
        size_t alerts;
    } rows[] = {
        {VK_F1, 0},  {VK_F5, 0},   {VK_F10, 0},    {VK_F12, 0},     {VK_RETURN, 0},  {VK_LEFT, 0},
        {VK_UP, 0},  {VK_RIGHT, 0}, {VK_DOWN, 0},  {VK_F13, 1},     {VK_F24, 1},     {'A', 1},
        {'0', 1},    {VK_ESCAPE, 1}, {VK_TAB, 1},  {VK_SPACE, 1},   {VK_HOME, 1},    {VK_PRIOR, 1},
        {VK_SHIFT, 1}, {VK_LWIN, 1}, {0x6F, 1},    {0xFF, 1},       {0, 1},          {0x12345, 1},
    };
    for (const Row &row : rows) {
        FailureContext context("key " + Hex(static_cast<UINT>(row.key)));
        // Press, repeat and release flag words make no difference.
        for (LPARAM flags : {LPARAM(0x00000001), LPARAM(0x40000001), LPARAM(0xC0000001)}) {
            CHECK_EQ(0, KbdDisableProc(HC_ACTION, row.key, flags));
            CHECK_EQ(Alerts(row.alerts), PumpMessages(0));
        }
    }
}

TEST(low_level_procedures_end_the_chain_except_for_moves)
{
    MSLLHOOKSTRUCT mouse = {};
    KBDLLHOOKSTRUCT key = {};
    for (UINT message : {UINT(WM_LBUTTONDOWN), UINT(WM_MOUSEWHEEL), UINT(WM_MOUSEMOVE), UINT(WM_NCMOUSEMOVE)}) {
        CHECK_EQ(0, MouDisableProcL(HC_ACTION, message, reinterpret_cast<LPARAM>(&mouse)));
        CHECK_EQ(0, MouDisableProcL(-1, message, reinterpret_cast<LPARAM>(&mouse)));
    }
    CHECK_EQ(0, KbdDisableProcL(HC_ACTION, WM_KEYDOWN, reinterpret_cast<LPARAM>(&key)));
    CHECK_EQ(0, KbdDisableProcL(-1, WM_KEYDOWN, reinterpret_cast<LPARAM>(&key)));
    CHECK_EQ(Alerts(0), PumpMessages(0));
}

