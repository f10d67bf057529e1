// The library on the older Windows family. The test script registers this
// program with Wine as a Windows 98 program, so GetVersionEx reports the
// 9x platform to it (and to quarvo.dll loaded in it).
#include "check.h"
#include "guard_fixture.h"
#include "messages.h"
#include "pe_image.h"
#include "shared_slots.h"

TEST(wine_reports_the_older_family_to_this_program)
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    CHECK(GetVersionExA(&info));
    CHECK_EQ(static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS), info.dwPlatformId);
}

TEST(no_low_level_hook_is_placed_on_the_older_family)
{
    volatile QuarvoSlots *slots = QuarvoDataSeg();
    CHECK_EQ(static_cast<UINT_PTR>(HOOK_MOUSE | HOOK_KEYBOARD), InstallDisableHook(TRUE, 0xF, GetCurrentThreadId()));
    CHECK(slots->mouseLowLevelHook.handle == nullptr && slots->keyboardLowLevelHook.handle == nullptr);
    CHECK(slots->mouseHook.handle != nullptr && slots->keyboardHook.handle != nullptr);
    CHECK_EQ(0u, InstallDisableHook(FALSE, 0, 0)); // no low-level keyboard hook to remove
    CHECK(slots->mouseHook.handle == nullptr && slots->keyboardHook.handle == nullptr);
}

// The older family passes the plain record with the rotation in the low word
// of dwExtraInfo; mouseData, which the NT family uses, says the opposite here.
TEST(wheel_rotation_is_read_from_extra_info_on_the_older_family)
{
    const GuardWindows &windows = TestWindows();
    ArmBlock(GetQuarvoSharedData(), windows);
    PumpMessages(0);
    struct Row {
        SHORT extraInfoDelta, mouseDataDelta;
        WPARAM posted;
    } rows[] = {{120, -120, 0x00780000}, {-360, 120, 0xFF880000}};
    for (const Row &row : rows) {
        MOUSEHOOKSTRUCTEX record = MouseRecord(10, 20, row.mouseDataDelta, static_cast<WORD>(row.extraInfoDelta));
        CHECK_EQ(1, MouDisableProc(HC_ACTION, WM_MOUSEWHEEL, reinterpret_cast<LPARAM>(&record)));
        CHECK_EQ((std::vector<Received>{{windows.wheel, WM_MOUSEWHEEL, row.posted, MAKELPARAM(10, 20)}}),
                 PumpMessages(0));
    }
    MOUSEHOOKSTRUCTEX still = MouseRecord(10, 20, 120, 0);
    CHECK_EQ(1, MouDisableProc(HC_ACTION, WM_MOUSEWHEEL, reinterpret_cast<LPARAM>(&still)));
    CHECK_EQ(std::vector<Received>(), PumpMessages(0));
}
