#include "control_blocks.h"
#include "host_libraries.h"

static QuarvoSharedData *Shared()
{
    return libraries.getQuarvoSharedData();
}

static MainControlData *Control()
{
    return libraries.getMainControlData(); // null when pavrik could not map it
}

bool FillBlocks(const HostWindows &windows)
{
    QuarvoSharedData *shared = Shared();
    shared->skipLowLevelMouse = 0;
    shared->inputDisabled = 0;
    shared->hostMode = 0;
    shared->guardWindow = windows.guard;
    shared->wheelWindow = windows.wheel;
    shared->alertWindow = windows.main;
    if (!Control())
        return false;
    Control()->mainWindow = windows.main;
    return true;
}

void SetDisableMode(bool on)
{
    Shared()->inputDisabled = on ? 1 : 0;
}

void SetHostMode(DWORD mode)
{
    Shared()->hostMode = mode;
}

void ClearBlocks()
{
    QuarvoSharedData *shared = Shared();
    shared->inputDisabled = 0;
    shared->hostMode = 0;
    shared->guardWindow = nullptr;
    shared->wheelWindow = nullptr;
    shared->alertWindow = nullptr;
    if (Control())
        Control()->mainWindow = nullptr;
}
