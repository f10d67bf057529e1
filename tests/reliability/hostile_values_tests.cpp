// Whatever a host writes into the blocks, and whatever arguments arrive,
// every hook procedure of both libraries neither crashes nor writes a block,
// and posts only to the window its block names for that notification.
// Seeded and bounded, so a failure can be replayed.
#include <cstring>
#include <string>
#include "check.h"
#include "guard_fixture.h"
#include "messages.h"
#include "processes.h"

namespace {
struct Random {
    unsigned state;
    unsigned operator()() { return (state = state * 1103515245u + 12345u) >> 8; }
};

// Windows of this process, of another process, destroyed ones and values
// that name no window at all.
struct Candidates {
    HWND windows[11];
    HWND Pick(Random &random) const { return windows[random() % 11]; }
};

bool IsNamed(const Received &r, const QuarvoSharedData &block, const MainControlData &control, HWND eventWindow)
{
    switch (r.message) {
    case WM_GUARD_ALERT:
        return r.window == block.alertWindow;
    case WM_MOUSEWHEEL:
        return r.window == block.wheelWindow;
    case WM_FKEY_COMMAND:
        return r.window == control.mainWindow;
    case WM_GUARD_WINEVENT:
        return r.window == eventWindow;
    default:
        return false;
    }
}
} // namespace

TEST(hostile_block_contents_and_arguments)
{
    const GuardWindows &windows = TestWindows();
    HWND gone = CreateTestWindow("gone", 0, 0, 10, 10);
    DestroyWindow(gone);
    Child foreign = StartHelper("window ForeignWindow 0 900 0 100 100 pump 60000");
    HWND foreignWindow = nullptr;
    for (int i = 0; i < 200 && !foreignWindow; ++i, Sleep(25))
        foreignWindow = FindWindowA(nullptr, "ForeignWindow");
    CHECK(foreignWindow != nullptr);
    const Candidates candidates = {{windows.guard, windows.wheel, windows.alert, gone, foreignWindow, nullptr,
                                    reinterpret_cast<HWND>(1), reinterpret_cast<HWND>(0xFFFFFFFF),
                                    reinterpret_cast<HWND>(0x12345678), GetDesktopWindow(),
                                    CreateTestWindow("main", 0, 300, 50, 50)}};
    const UINT mouseMessages[] = {WM_LBUTTONDOWN, WM_LBUTTONUP,     WM_MBUTTONUP, WM_NCXBUTTONUP,
                                  WM_MOUSEWHEEL,  WM_MOUSEHWHEEL,   WM_MOUSEMOVE, WM_LBUTTONDBLCLK};
    const int codes[] = {-1, HC_ACTION, 1, 2, HC_NOREMOVE, -100};

    QuarvoSharedData *block = GetQuarvoSharedData();
    MainControlData *control = GetMainControlData();
    CHECK(control != nullptr);
    HWND eventWindow = nullptr;
    Random random = {20261211};
    PumpMessages(0);
    for (int round = 0; round < 6000; ++round) {
        FailureContext context("round " + std::to_string(round));
        if (round % 500 == 0) { // the event window changes only through its export
            eventWindow = candidates.Pick(random);
            InitQuarvoDll(TRUE, eventWindow);
            PumpMessages(50);
        }
        BYTE *bytes = reinterpret_cast<BYTE *>(block);
        for (size_t i = 0; i < sizeof *block; ++i)
            bytes[i] = static_cast<BYTE>(random());
        BYTE *controlBytes = reinterpret_cast<BYTE *>(control);
        for (size_t i = 0; i < sizeof *control; ++i)
            controlBytes[i] = static_cast<BYTE>(random());
        block->hostMode = random() % 4 ? QUARVO_MUTED_HOST_MODE + random() % 3 - 1 : random();
        block->guardWindow = candidates.Pick(random);
        block->wheelWindow = candidates.Pick(random);
        block->alertWindow = candidates.Pick(random);
        control->mainWindow = candidates.Pick(random);
        const QuarvoSharedData blockBefore = *block;
        const MainControlData controlBefore = *control;

        // Room for any of the records; mostly plausible values, sometimes wild.
        DWORD record[8];
        for (DWORD &word : record)
            word = random() % 3 ? random() % 1200 : random() * 2654435761u;
        if (random() % 2)
            record[0] = VK_F1 + random() % 14; // keyboard records start with vkCode
        LPARAM recordParameter = reinterpret_cast<LPARAM>(record);
        int code = codes[random() % 6];
        WPARAM message = random() % 4 ? mouseMessages[random() % 8] : random();
        switch (random() % 6) {
        case 0: MouDisableProc(code, message, recordParameter); break;
        case 1: MouDisableProcL(code, message, recordParameter); break;
        case 2: KbdDisableProc(code, random() % 4 ? random() % 256 : random(), random()); break;
        case 3: KbdDisableProcL(code, message, recordParameter); break;
        case 4: LowLevelKeyboardProc5(code, random() % 2 ? WM_KEYDOWN : WM_SYSKEYUP, recordParameter); break;
        default:
            WinEventProc(reinterpret_cast<HWINEVENTHOOK>(random()), random() % 4 ? random() % 30 : random(),
                         candidates.Pick(random), random(), random(), random(), random());
        }

        CHECK(std::memcmp(&blockBefore, block, sizeof blockBefore) == 0);
        CHECK(std::memcmp(&controlBefore, control, sizeof controlBefore) == 0);
        for (const Received &r : PumpMessages(0))
            CHECK(IsNamed(r, blockBefore, controlBefore, eventWindow));
    }
    InitQuarvoDll(FALSE, nullptr);
    *block = QuarvoSharedData();
    *control = MainControlData();
    TerminateProcess(foreign.process, 0);
    FinishChild(foreign, 2000);
}
