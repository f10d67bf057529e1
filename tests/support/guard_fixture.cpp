#include "guard_fixture.h"
#include "messages.h"

const GuardWindows &TestWindows()
{
    static GuardWindows windows = {
        CreateTestWindow("guard", kGuardRect.left, kGuardRect.top, kGuardRect.right - kGuardRect.left,
                         kGuardRect.bottom - kGuardRect.top),
        CreateTestWindow("wheel", 400, 100, 100, 100),
        CreateTestWindow("alert", 550, 100, 100, 100),
    };
    return windows;
}

void ArmBlock(QuarvoSharedData *block, const GuardWindows &windows)
{
    *block = QuarvoSharedData();
    block->inputDisabled = 1;
    block->guardWindow = windows.guard;
    block->wheelWindow = windows.wheel;
    block->alertWindow = windows.alert;
}

MOUSEHOOKSTRUCTEX MouseRecord(LONG x, LONG y, SHORT wheelDelta, DWORD extraInfo)
{
    MOUSEHOOKSTRUCTEX record = {};
    record.pt.x = x;
    record.pt.y = y;
    record.dwExtraInfo = extraInfo;
    record.mouseData = MAKELONG(0, static_cast<WORD>(wheelDelta));
    return record;
}
