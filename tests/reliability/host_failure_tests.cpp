// Hosts that die without switching anything off, hosts that race, and hosts
// that unload in order: the next host must always get working hooks.
//
// The hook handles live in the libraries' shared DataSeg sections, which
// outlive a host as long as any process keeps the library loaded (here: this
// test program). Under Wine a dead thread's desktop-wide hooks even stay
// alive and keep calling their procedures, so a hook whose handle was lost
// would raise alerts forever: every case counts alerts exactly.
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
struct HookHandles {
    HHOOK mouse, mouseLowLevel, keyboard, functionKeys;
};

HookHandles CurrentHandles()
{
    volatile QuarvoSlots &quarvo = *QuarvoDataSeg();
    return {quarvo.mouseHook.handle, quarvo.mouseLowLevelHook.handle, quarvo.keyboardHook.handle,
            PavrikDataSeg()->fkeyHook.handle};
}

std::string Decimal(UINT_PTR value)
{
    return std::to_string(static_cast<unsigned long>(value));
}

// Everything that reaches this thread within the wait, after the input.
std::vector<Received> InputAndWait(const std::string &xdotool, UINT message, size_t expected)
{
    CHECK(Xdotool(xdotool));
    std::vector<Received> got = PumpUntil(message, expected, 3000);
    std::vector<Received> more = PumpMessages(400);
    got.insert(got.end(), more.begin(), more.end());
    return got;
}

// A focused window in another process, into which xdotool types.
struct Target {
    Child helper;
    Target()
    {
        char arguments[160];
        std::snprintf(arguments, sizeof arguments, "window ReliabilityTarget 0 500 400 300 200 pump 60000");
        helper = StartHelper(arguments);
        CHECK(FocusWindow("ReliabilityTarget"));
    }
    ~Target()
    {
        PostMessageA(FindWindowA(nullptr, "ReliabilityTarget"), WM_CLOSE, 0, 0);
        FinishChild(helper, 5000);
    }
};

// Switches disable mode on with this program's windows, places the
// input-disable hooks and function-key capture as a new host does, and
// checks that real input reaches working hooks: one alert per key press and
// release, one command per F-key press, and none from an earlier owner.
void CheckNewHostGetsWorkingHooks(const HookHandles &old)
{
    QuarvoSharedData *block = GetQuarvoSharedData();
    const GuardWindows &windows = TestWindows();
    ArmBlock(block, windows);
    GetMainControlData()->mainWindow = nullptr;

    CHECK_EQ(static_cast<UINT_PTR>(HOOK_MOUSE | HOOK_MOUSE_LL | HOOK_KEYBOARD),
             InstallDisableHook(TRUE, HOOK_MOUSE | HOOK_MOUSE_LL | HOOK_KEYBOARD, 0));
    UINT_PTR functionKeys = InitKBDDll(TRUE);
    HookHandles now = CurrentHandles();
    CHECK(now.mouse && now.mouse != old.mouse);
    CHECK(now.mouseLowLevel && now.mouseLowLevel != old.mouseLowLevel);
    CHECK(now.keyboard && now.keyboard != old.keyboard);
    CHECK(functionKeys && reinterpret_cast<HHOOK>(functionKeys) != old.functionKeys);
    CHECK_EQ(reinterpret_cast<UINT_PTR>(now.functionKeys), functionKeys);

    // A further live process shares the new hooks, as long as this thread lives.
    std::string printed;
    RunHelper("load quarvo.dll load pavrik.dll call quarvo.dll InstallDisableHook 1 7 0 call pavrik.dll InitKBDDll 1",
              &printed);
    CHECK_EQ("7\n" + Decimal(functionKeys) + "\n", printed);
    CHECK(CurrentHandles().keyboard == now.keyboard && CurrentHandles().mouse == now.mouse);

    Target target;
    std::vector<Received> got = InputAndWait("key a", WM_GUARD_ALERT, 2);
    CHECK_EQ(2u, CountMessages(got, WM_GUARD_ALERT));
    got = InputAndWait("mousemove --sync 600 500 click 1", WM_GUARD_ALERT, 2);
    CHECK_EQ(2u, CountMessages(got, WM_GUARD_ALERT));

    block->inputDisabled = 0;
    GetMainControlData()->mainWindow = windows.alert;
    got = InputAndWait("key F5", WM_FKEY_COMMAND, 1);
    CHECK_EQ((std::vector<Received>{{windows.alert, WM_FKEY_COMMAND, 5, VK_F5}}), got);

    // After the new host's false forms no hook of any owner is left.
    CHECK(InstallDisableHook(FALSE, 0, 0) == 0); // no low-level keyboard hook of quarvo's
    CHECK(InitKBDDll(FALSE) != 0);
    block->inputDisabled = 1;
    got = InputAndWait("key a", WM_GUARD_ALERT, 1);
    got = InputAndWait("mousemove --sync 620 520 click 1", WM_GUARD_ALERT, 1);
    CHECK_EQ(0u, CountMessages(got, WM_GUARD_ALERT));
    got = InputAndWait("key F5", WM_FKEY_COMMAND, 1);
    CHECK_EQ(0u, CountMessages(got, WM_FKEY_COMMAND));
    *block = QuarvoSharedData();
    GetMainControlData()->mainWindow = nullptr;
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

bool WaitForEvent(const char *name)
{
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, name);
    bool signalled = WaitForSingleObject(event, 20000) == WAIT_OBJECT_0;
    CloseHandle(event);
    return signalled;
}

// The earlier host: places its hooks, then keeps running until the test
// ends it. "thread" is the helper's own thread, for thread-scoped hooks.
std::string EarlierHost(const char *call, const char *placedEvent)
{
    return std::string("load quarvo.dll load pavrik.dll ") + call + " signal " + placedEvent + " pump 60000";
}
} // namespace

// An earlier host placed its hooks and then died, or only the thread that
// placed them ended while the process lived on; either way it switched
// nothing off. Its hooks were desktop-wide or scoped to its own thread.
TEST(a_new_host_gets_working_hooks_after_an_earlier_owner_ended)
{
    struct Row {
        const char *what;
        const char *calls;
        bool killed;
    } rows[] = {
        {"host killed, desktop-wide hooks", "call quarvo.dll InstallDisableHook 1 7 0 call pavrik.dll InitKBDDll 1",
         true},
        {"host killed, thread-scoped hooks",
         "call quarvo.dll InstallDisableHook 1 7 thread call pavrik.dll InitKBDDll 1", true},
        {"hook thread ended, process lives",
         "thread-call quarvo.dll InstallDisableHook 1 7 0 thread-call pavrik.dll InitKBDDll 1", false},
    };
    for (const Row &row : rows) {
        FailureContext context(row.what);
        Child host = StartHelper(EarlierHost(row.calls, "EarlierHostPlaced"));
        CHECK(WaitForEvent("EarlierHostPlaced"));
        HookHandles old = CurrentHandles();
        CHECK(old.mouse && old.keyboard && old.functionKeys); // the low-level mouse hook only desktop-wide
        if (row.killed) {
            TerminateProcess(host.process, 1);
            FinishChild(host, 5000);
        }
        CheckNewHostGetsWorkingHooks(old);
        if (!row.killed) {
            TerminateProcess(host.process, 0);
            FinishChild(host, 5000);
        }
        HANDLE placed = CreateEventA(nullptr, TRUE, FALSE, "EarlierHostPlaced");
        ResetEvent(placed);
        CloseHandle(placed);
    }
}

// Two processes place the same thread-scoped hook on this thread at the same
// moment. Exactly one hook may be left, the one the slot holds: one alert per
// key press and release, and none once it is removed.
TEST(racing_requests_leave_exactly_one_hook)
{
    QuarvoSharedData *block = GetQuarvoSharedData();
    const GuardWindows &windows = TestWindows();
    ArmBlock(block, windows);
    CreateTestWindow("RaceWindow", 700, 600, 200, 150);
    CHECK(FocusWindow("RaceWindow"));
    std::string call = "load quarvo.dll wait RaceStart call quarvo.dll InstallDisableHook 1 4 " +
                       std::to_string(GetCurrentThreadId()) + " signal RaceDone";
    HANDLE start = CreateEventA(nullptr, TRUE, FALSE, "RaceStart");
    for (int round = 0; round < 12; ++round) {
        FailureContext context("round " + std::to_string(round));
        ResetEvent(start);
        Child first = StartHelper(call + "1 pump 20000");
        Child second = StartHelper(call + "2 pump 20000");
        Sleep(300); // both are waiting at the start line
        SetEvent(start);
        CHECK(WaitForEvent("RaceDone1") && WaitForEvent("RaceDone2"));
        CHECK(QuarvoDataSeg()->keyboardHook.handle != nullptr);

        keybd_event('Q', 0, 0, 0);
        keybd_event('Q', 0, KEYEVENTF_KEYUP, 0);
        std::vector<Received> got = PumpUntil(WM_GUARD_ALERT, 2, 3000);
        std::vector<Received> more = PumpMessages(200);
        CHECK_EQ(2u, CountMessages(got, WM_GUARD_ALERT) + CountMessages(more, WM_GUARD_ALERT));

        InstallDisableHook(FALSE, 0, 0);
        keybd_event('Q', 0, 0, 0);
        keybd_event('Q', 0, KEYEVENTF_KEYUP, 0);
        CHECK_EQ(0u, CountMessages(PumpMessages(400), WM_GUARD_ALERT));

        for (Child *helper : {&first, &second}) {
            TerminateProcess(helper->process, 0);
            FinishChild(*helper, 5000);
        }
        for (const char *done : {"RaceDone1", "RaceDone2"}) {
            HANDLE event = CreateEventA(nullptr, TRUE, FALSE, done);
            ResetEvent(event);
            CloseHandle(event);
        }
    }
    CloseHandle(start);
    *block = QuarvoSharedData();
}

// A host switches everything off and unloads; a program that had quarvo
// injected keeps running, and a later host starts cleanly.
TEST(orderly_unload_leaves_injected_programs_running)
{
    HWND report = CreateTestWindow("UnloadReport", 0, 700, 50, 50);
    char arguments[160];
    std::snprintf(arguments, sizeof arguments, "window InjectedTarget %lx 500 400 300 200 pump 60000",
                  static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(report)));
    Child injected = StartHelper(arguments);
    CHECK(FocusWindow("InjectedTarget"));

    Child host = StartHelper("load quarvo.dll load pavrik.dll call quarvo.dll InstallDisableHook 1 5 0 "
                             "call pavrik.dll InitKBDDll 1 signal OrderlyPlaced wait OrderlyStop "
                             "call quarvo.dll InstallDisableHook 0 0 0 call pavrik.dll InitKBDDll 0 "
                             "free pavrik.dll free quarvo.dll");
    CHECK(WaitForEvent("OrderlyPlaced"));
    CHECK(Xdotool("key b")); // brings quarvo into the injected program
    PumpMessages(300);
    HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, "OrderlyStop");
    SetEvent(stop);
    std::string printed;
    CHECK_EQ(0UL, FinishChild(host, 10000, &printed));
    // Placed 5; InitKBDDll's handle; nothing low-level of quarvo's to remove: 0; removed: 1.
    std::vector<std::string> lines = Lines(printed);
    CHECK(lines.size() == 4 && lines[0] == "5" && lines[1] != "0" && lines[2] == "0" && lines[3] == "1");
    CloseHandle(stop);

    // The injected program still takes keys.
    std::vector<Received> got = InputAndWait("key c", WM_HELPER_REPORT, 2);
    CHECK_EQ(2u, CountMessages(got, WM_HELPER_REPORT));
    PostMessageA(FindWindowA(nullptr, "InjectedTarget"), WM_CLOSE, 0, 0);
    CHECK_EQ(0UL, FinishChild(injected, 5000));

    CheckNewHostGetsWorkingHooks(HookHandles());
}
