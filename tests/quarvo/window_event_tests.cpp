// Window-event forwarding of the real quarvo.dll under Wine: events raised in
// another process (the helper program, through NotifyWinEvent) reach this
// program's event window as WM_GUARD_WINEVENT.
//
// Wine raises some events of the registered range by itself, above all a
// foreground change (3) whenever a window is activated, in whatever process
// does it; quarvo forwards those too. Three measures keep such background
// events from making the checks flaky:
// - No window of this program or of the helper is ever shown, so none of
//   them changes the activation: the event windows are message-only windows
//   and the helper raises its events on a hidden window of its own.
// - Only the event-table case raises 3, 4 and 5. The others raise the
//   task-switch events 20 and 21, which only a task switcher raises (Wine
//   has none).
// - Each round is watched by an out-of-context hook of this thread, which
//   the platform tells of every event in 3..23 raised by any process. The
//   messages a round must bring are derived from what was raised (one per
//   forwarded event), and the helper's events must be among it. An event
//   that another process raised meanwhile is then expected, not a failure;
//   without one, the expectation is exactly one message per forwarded event
//   the helper raised. (Wine drops the news of an event whose window is
//   destroyed before the observer's thread takes it, hence the helper keeps
//   its window until then; a background event on a window destroyed at once
//   would escape the observer.)
// Every round ends only after the helper has exited and this thread has
// pumped a while longer, so late or duplicate messages are seen too.
#include <algorithm>
#include <cstdio>
#include "check.h"
#include "messages.h"
#include "pe_image.h"
#include "processes.h"
#include "quarvo_pavrik.h"
#include "shared_slots.h"

namespace {
const DWORD FIRST_EVENT = EVENT_SYSTEM_FOREGROUND; // 3
const DWORD LAST_EVENT = EVENT_SYSTEM_MINIMIZEEND; // 23
const DWORD SETTLE_MS = 300;                       // pumping after the helper has exited

// The registered events and whether each is forwarded.
struct EventRow {
    DWORD event;
    bool forwarded;
};
const EventRow EVENT_TABLE[] = {
    {3, true},   {4, true},   {5, true},   {6, false},  {7, false},  {8, false},  {9, false},
    {10, false}, {11, false}, {12, false}, {13, false}, {14, false}, {15, false}, {16, false},
    {17, false}, {18, false}, {19, false}, {20, true},  {21, true},  {22, false}, {23, false},
};

bool IsForwarded(DWORD event)
{
    for (const EventRow &row : EVENT_TABLE)
        if (row.event == event)
            return row.forwarded;
    return false;
}

// Events Wine never raises by itself (task-switch start and end); the rounds
// that are not about the event table raise these.
const std::vector<DWORD> SWITCH_EVENTS = {EVENT_SYSTEM_SWITCHSTART, EVENT_SYSTEM_SWITCHEND};

// Every event in FIRST_EVENT..LAST_EVENT raised by any process while the
// observer is registered.
std::vector<DWORD> observed;

void CALLBACK RecordRaised(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD)
{
    observed.push_back(event);
}

struct Round {
    std::vector<DWORD> raised;      // by any process while the round ran
    std::vector<Received> messages; // the WM_GUARD_WINEVENT messages that reached this thread
    std::string helperOutput;
    DWORD helperExitCode = 0;
};

std::string EventList(const std::vector<DWORD> &events)
{
    std::string text;
    for (DWORD event : events)
        text += " " + std::to_string(event);
    return text;
}

size_t Occurrences(const std::vector<DWORD> &events, DWORD event)
{
    return std::count(events.begin(), events.end(), event);
}

// Every event of `events` occurs in `raised` at least as often.
bool ContainsAll(const std::vector<DWORD> &raised, const std::vector<DWORD> &events)
{
    for (DWORD event : events)
        if (Occurrences(raised, event) < Occurrences(events, event))
            return false;
    return true;
}

// Runs the helper: a hidden window, the events raised on it, then
// `moreSteps`. The helper keeps its window until the observer has heard of
// its events (the platform drops the news of an event whose window is gone
// before the observer's thread takes it). This thread pumps all along and
// for SETTLE_MS after the helper has exited.
Round RaiseInHelper(const std::vector<DWORD> &events, const std::string &moreSteps = "")
{
    static int serial = 0;
    std::string release = "quarvo-window-events-" + std::to_string(GetCurrentProcessId()) + "-" +
                          std::to_string(++serial);
    HANDLE releaseEvent = CreateEventA(nullptr, TRUE, FALSE, release.c_str());
    HWINEVENTHOOK observer = SetWinEventHook(FIRST_EVENT, LAST_EVENT, nullptr, RecordRaised, 0, 0,
                                             WINEVENT_OUTOFCONTEXT);
    CHECK(observer != nullptr);
    observed.clear();
    std::vector<Received> received;
    auto keep = [&received](const std::vector<Received> &more) {
        received.insert(received.end(), more.begin(), more.end());
    };
    auto running = [](const Child &child) { return WaitForSingleObject(child.process, 0) == WAIT_TIMEOUT; };

    Round round;
    Child helper = StartHelper("hidden-window events notify" + EventList(events) + " " + moreSteps + " wait " +
                               release);
    CHECK(helper.process != nullptr);
    for (DWORD start = GetTickCount(); running(helper) && !ContainsAll(observed, events) && GetTickCount() - start < 10000;)
        keep(PumpMessages(10));
    SetEvent(releaseEvent);
    for (DWORD start = GetTickCount(); running(helper) && GetTickCount() - start < 10000;)
        keep(PumpMessages(10));
    round.helperExitCode = FinishChild(helper, 5000, &round.helperOutput);
    keep(PumpMessages(SETTLE_MS));
    UnhookWinEvent(observer);
    CloseHandle(releaseEvent);

    round.raised = observed;
    for (const Received &r : received)
        if (r.message == WM_GUARD_WINEVENT)
            round.messages.push_back(r);
    CHECK_EQ(0UL, round.helperExitCode);
    return round;
}

std::string Trimmed(const std::string &text)
{
    size_t end = text.find_last_not_of(" \r\n");
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

size_t MessagesFor(const std::vector<Received> &messages, DWORD event)
{
    return std::count_if(messages.begin(), messages.end(), [event](const Received &r) { return r.wParam == event; });
}

// The platform saw the helper raise each of its events (as often as it did).
void CheckHelperRaised(const Round &round, const std::vector<DWORD> &events)
{
    CHECK(ContainsAll(round.raised, events));
    if (round.raised.size() > events.size())
        std::printf("  note: more than the helper's events were raised:%s\n", EventList(round.raised).c_str());
}

std::vector<Received> Sorted(std::vector<Received> list)
{
    std::sort(list.begin(), list.end(), [](const Received &a, const Received &b) {
        return a.wParam != b.wParam ? a.wParam < b.wParam : a.window < b.window;
    });
    return list;
}

// Forwarding to `window` is on and not muted: one message per forwarded
// event raised, wParam the event, lParam 0, to `window` only.
void CheckForwarded(const Round &round, const std::vector<DWORD> &helperEvents, HWND window)
{
    CheckHelperRaised(round, helperEvents);
    std::vector<Received> expected;
    for (DWORD event : round.raised)
        if (IsForwarded(event))
            expected.push_back({window, WM_GUARD_WINEVENT, event, 0});
    CHECK_EQ(Sorted(expected), Sorted(round.messages));
}

void CheckNothingForwarded(const Round &round, const std::vector<DWORD> &helperEvents)
{
    CheckHelperRaised(round, helperEvents);
    CHECK_EQ(std::vector<Received>(), round.messages);
}

HWND CreateEventWindow()
{
    return CreateWindowExA(0, "STATIC", "event window", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// The eventWindow slot of the shared section DataSeg.
HWND volatile *EventWindowSlot()
{
    volatile QuarvoSlots *slots = QuarvoDataSeg();
    CHECK(slots != nullptr);
    static HWND missing = nullptr;
    return slots ? &slots->eventWindow : &missing;
}

QuarvoSharedData *Block()
{
    return GetQuarvoSharedData();
}

// Every case starts and ends with forwarding off in this process and the
// host's fields that forwarding reads all zero.
struct CleanState {
    CleanState() { Reset(); }
    ~CleanState() { Reset(); }
    static void Reset()
    {
        while (InitQuarvoDll(FALSE, nullptr))
            ;
        Block()->inputDisabled = 0;
        Block()->hostMode = 0;
        PumpMessages(0);
    }
};

std::vector<DWORD> AllRegisteredEvents()
{
    std::vector<DWORD> events;
    for (const EventRow &row : EVENT_TABLE)
        events.push_back(row.event);
    return events;
}
} // namespace

TEST(only_foreground_menu_and_switch_events_arrive_once_each)
{
    CleanState clean;
    HWND window = CreateEventWindow();
    CHECK(InitQuarvoDll(TRUE, window) != 0);
    std::vector<DWORD> events = AllRegisteredEvents();
    Round round = RaiseInHelper(events, "print-loaded quarvo.dll");
    CHECK_EQ(std::string("1"), Trimmed(round.helperOutput)); // in context: quarvo was brought into the helper
    for (const EventRow &row : EVENT_TABLE) {
        FailureContext context("event " + std::to_string(row.event));
        CHECK_EQ(row.forwarded ? Occurrences(round.raised, row.event) : 0, MessagesFor(round.messages, row.event));
    }
    CheckForwarded(round, events, window); // each to `window`, with lParam 0
    DestroyWindow(window);
}

TEST(mute_rule_in_all_combinations_while_forwarding_stays_on)
{
    CleanState clean;
    HWND window = CreateEventWindow();
    CHECK(InitQuarvoDll(TRUE, window) != 0);
    const struct {
        BYTE inputDisabled;
        DWORD hostMode;
        bool muted;
    } cases[] = {
        {0, 0, false},    {0, QUARVO_MUTED_HOST_MODE, false}, {1, 0, false},
        {1, 311, false},  {1, QUARVO_MUTED_HOST_MODE, true},  {0x80, QUARVO_MUTED_HOST_MODE, true},
        {1, 0x10136, false}, // 310 in the low word only
        {0, QUARVO_MUTED_HOST_MODE, false},                   // unmuted again
    };
    for (const auto &c : cases) {
        FailureContext context("inputDisabled " + std::to_string(c.inputDisabled) + ", hostMode " +
                               std::to_string(c.hostMode));
        Block()->inputDisabled = c.inputDisabled;
        Block()->hostMode = c.hostMode;
        Round round = RaiseInHelper(SWITCH_EVENTS);
        if (c.muted)
            CheckNothingForwarded(round, SWITCH_EVENTS);
        else
            CheckForwarded(round, SWITCH_EVENTS, window);
    }
    DestroyWindow(window);
}

TEST(disable_with_no_registration_returns_0_and_clears_the_event_window)
{
    CleanState clean;
    HWND window = CreateEventWindow();
    *EventWindowSlot() = window; // as if another process had enabled
    CHECK_EQ(0u, InitQuarvoDll(FALSE, window));
    CHECK_EQ(static_cast<HWND>(nullptr), *EventWindowSlot());
    CHECK_EQ(0u, InitQuarvoDll(FALSE, nullptr));
    DestroyWindow(window);
}

// The event-window slot, set again behind quarvo's back, shows whether any
// registration is left: one would forward to it.
TEST(after_disable_nothing_arrives_and_no_registration_is_left)
{
    CleanState clean;
    HWND window = CreateEventWindow();
    CHECK(InitQuarvoDll(TRUE, window) != 0);
    CheckForwarded(RaiseInHelper(SWITCH_EVENTS), SWITCH_EVENTS, window);
    CHECK(InitQuarvoDll(FALSE, nullptr) != 0);
    CHECK_EQ(static_cast<HWND>(nullptr), *EventWindowSlot());
    CheckNothingForwarded(RaiseInHelper(SWITCH_EVENTS), SWITCH_EVENTS);
    *EventWindowSlot() = window;
    CheckNothingForwarded(RaiseInHelper(SWITCH_EVENTS), SWITCH_EVENTS);
    *EventWindowSlot() = nullptr;
    DestroyWindow(window);
}

TEST(enable_disable_and_enable_again)
{
    CleanState clean;
    HWND first = CreateEventWindow(), second = CreateEventWindow();
    CHECK(InitQuarvoDll(TRUE, first) != 0);
    CheckForwarded(RaiseInHelper(SWITCH_EVENTS), SWITCH_EVENTS, first);
    CHECK(InitQuarvoDll(FALSE, nullptr) != 0);
    CHECK(InitQuarvoDll(TRUE, second) != 0);
    CHECK_EQ(second, *EventWindowSlot());
    CheckForwarded(RaiseInHelper(SWITCH_EVENTS), SWITCH_EVENTS, second);
    CHECK(InitQuarvoDll(FALSE, nullptr) != 0);
    CHECK_EQ(0u, InitQuarvoDll(FALSE, nullptr));
    DestroyWindow(first);
    DestroyWindow(second);
}

// The documented choice: the earlier registration is replaced, so each event
// arrives once, at the new window only, and one disable leaves none.
TEST(second_enable_without_disable_keeps_one_registration_for_the_new_window)
{
    CleanState clean;
    HWND first = CreateEventWindow(), second = CreateEventWindow();
    CHECK(InitQuarvoDll(TRUE, first) != 0);
    CHECK(InitQuarvoDll(TRUE, second) != 0);
    CHECK_EQ(second, *EventWindowSlot());
    std::vector<DWORD> events = {EVENT_SYSTEM_SWITCHSTART, EVENT_SYSTEM_MENUSTART, EVENT_SYSTEM_SWITCHEND};
    CheckForwarded(RaiseInHelper(events), events, second);
    CHECK(InitQuarvoDll(FALSE, nullptr) != 0);
    CHECK_EQ(0u, InitQuarvoDll(FALSE, nullptr));
    *EventWindowSlot() = second;
    CheckNothingForwarded(RaiseInHelper(SWITCH_EVENTS), SWITCH_EVENTS);
    *EventWindowSlot() = nullptr;
    DestroyWindow(first);
    DestroyWindow(second);
}

// The documented choice: with event window 0 nothing is posted, not even as
// a thread message of the process that raised the event.
TEST(event_window_0_posts_nothing)
{
    CleanState clean;
    CHECK(InitQuarvoDll(TRUE, nullptr) != 0);
    Round round = RaiseInHelper(SWITCH_EVENTS, "print-thread-messages");
    CheckNothingForwarded(round, SWITCH_EVENTS);
    CHECK(round.helperOutput.find(std::to_string(WM_GUARD_WINEVENT) + " ") == std::string::npos);
    WinEventProc(nullptr, EVENT_SYSTEM_FOREGROUND, nullptr, OBJID_WINDOW, CHILDID_SELF, GetCurrentThreadId(), 0);
    CHECK_EQ(0UL, CountMessages(PumpMessages(0), WM_GUARD_WINEVENT));
    CHECK(InitQuarvoDll(FALSE, nullptr) != 0);
}

// When the platform refuses to unregister (here the registration was removed
// behind quarvo's back), disable returns 0 and still stops forwarding, and a
// later enable, with or without that disable, is not held up by the dead
// handle.
TEST(refused_unhook_stops_forwarding_and_holds_up_no_later_enable)
{
    CleanState clean;
    HWND window = CreateEventWindow();
    UINT_PTR handle = InitQuarvoDll(TRUE, window);
    CHECK(handle != 0);
    CHECK(UnhookWinEvent(reinterpret_cast<HWINEVENTHOOK>(handle)));
    CHECK_EQ(0u, InitQuarvoDll(FALSE, nullptr));
    CHECK_EQ(static_cast<HWND>(nullptr), *EventWindowSlot());
    CHECK(InitQuarvoDll(TRUE, window) != 0);
    CheckForwarded(RaiseInHelper(SWITCH_EVENTS), SWITCH_EVENTS, window);

    UINT_PTR again = InitQuarvoDll(TRUE, window);
    CHECK(UnhookWinEvent(reinterpret_cast<HWINEVENTHOOK>(again)));
    CHECK(InitQuarvoDll(TRUE, window) != 0); // the second enable registers anew
    CheckForwarded(RaiseInHelper(SWITCH_EVENTS), SWITCH_EVENTS, window);
    CHECK(InitQuarvoDll(FALSE, nullptr) != 0);
    DestroyWindow(window);
}

// Forwarding neither needs the input-disable hooks nor disturbs them, and
// placing or removing them leaves forwarding as it is.
TEST(forwarding_is_independent_of_the_input_disable_hooks)
{
    CleanState clean;
    const DWORD allHooks = HOOK_MOUSE | HOOK_MOUSE_LL | HOOK_KEYBOARD | HOOK_KEYBOARD_LL;
    const DWORD thread = GetCurrentThreadId();
    HWND window = CreateEventWindow();
    CHECK_EQ(0u, InstallDisableHook(TRUE, 0, 0)); // none placed

    CHECK(InitQuarvoDll(TRUE, window) != 0);
    CheckForwarded(RaiseInHelper(SWITCH_EVENTS), SWITCH_EVENTS, window);
    CHECK_EQ(static_cast<UINT_PTR>(allHooks), InstallDisableHook(TRUE, allHooks, thread));
    CheckForwarded(RaiseInHelper(SWITCH_EVENTS), SWITCH_EVENTS, window);
    CHECK(InstallDisableHook(FALSE, 0, 0) != 0);
    CHECK_EQ(0u, InstallDisableHook(TRUE, 0, 0));
    CheckForwarded(RaiseInHelper(SWITCH_EVENTS), SWITCH_EVENTS, window);
    CHECK(InitQuarvoDll(FALSE, nullptr) != 0);

    CHECK_EQ(static_cast<UINT_PTR>(allHooks), InstallDisableHook(TRUE, allHooks, thread));
    CHECK(InitQuarvoDll(TRUE, window) != 0);
    CheckForwarded(RaiseInHelper(SWITCH_EVENTS), SWITCH_EVENTS, window);
    CHECK(InitQuarvoDll(FALSE, nullptr) != 0);
    CHECK_EQ(static_cast<UINT_PTR>(allHooks), InstallDisableHook(TRUE, 0, 0)); // still all placed
    CHECK(InstallDisableHook(FALSE, 0, 0) != 0);
    DestroyWindow(window);
}
