/* Uses every declaration of the host header, so that compiling this file in
 * one language mode shows the header works there. Compiled as C and, under
 * another name, as C++ by check_header.sh. */
#include "quarvo_pavrik.h"

#ifdef EXPECT_FAILED_ASSERT
/* The layout checks must be able to fail: this one is false. */
QP_STATIC_ASSERT(sizeof(QuarvoSharedData) == 69, "a false layout check stops the build");
#endif

static GetQuarvoSharedDataFunction *const getShared = GetQuarvoSharedData;
static InstallDisableHookFunction *const installDisableHook = InstallDisableHook;
static InitQuarvoDllFunction *const initQuarvo = InitQuarvoDll;
static GetMainControlDataFunction *const getControl = GetMainControlData;
static InitKBDDllFunction *const initKbd = InitKBDDll;
static HOOKPROC const hookProcedures[] = {MouDisableProc, MouDisableProcL, KbdDisableProc, KbdDisableProcL,
                                          LowLevelKeyboardProc5};
static WINEVENTPROC const eventProcedure = WinEventProc;

int main(void)
{
    QuarvoSharedData *block = getShared();
    MainControlData *control = getControl();
    UINT messages[3];
    messages[0] = WM_GUARD_ALERT;
    messages[1] = WM_GUARD_WINEVENT;
    messages[2] = WM_FKEY_COMMAND;
    block->hostMode = QUARVO_MUTED_HOST_MODE;
    control->mainWindow = block->alertWindow;
    installDisableHook(TRUE, HOOK_MOUSE | HOOK_MOUSE_LL | HOOK_KEYBOARD | HOOK_KEYBOARD_LL, 0);
    initQuarvo(FALSE, 0);
    initKbd(FALSE);
    return (int)(messages[0] + FKEY_COMMAND_WPARAM + QUARVO_WHEEL_UP_WPARAM + QUARVO_WHEEL_DOWN_WPARAM +
                 sizeof hookProcedures + sizeof eventProcedure + sizeof(QUARVO_SHARED_NAME PAVRIK_CONTROL_NAME));
}
