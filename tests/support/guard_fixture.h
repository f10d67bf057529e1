// Windows and block contents shared by the input-guard tests.
#pragma once
#include <windows.h>
#include "quarvo_pavrik.h"

// Guard rectangle used by the tests, in screen coordinates.
const RECT kGuardRect = {100, 100, 300, 250};

struct GuardWindows {
    HWND guard, wheel, alert;
};

// Creates the three host windows once (guard at kGuardRect).
const GuardWindows &TestWindows();

// Resets the block to zero, then fills the host fields for disable mode.
void ArmBlock(QuarvoSharedData *block, const GuardWindows &windows);

// A mouse record as the platform passes it on the NT family.
MOUSEHOOKSTRUCTEX MouseRecord(LONG x, LONG y, SHORT wheelDelta = 0, DWORD extraInfo = 0);
