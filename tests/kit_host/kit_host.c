/* A tiny host in C, built against the installed kit: calls every export a
 * host calls, through the import libraries, and checks that the two DLLs
 * meet in the shared control block. Prints one line per check; the exit
 * code is the number of failed checks. */
#include <stdio.h>
#include <quarvo_pavrik.h>

static int failures = 0;

static void Check(int passed, const char *what)
{
    printf("%s  %s\n", passed ? "ok  " : "FAIL", what);
    if (!passed)
        ++failures;
}

int main(void)
{
    QuarvoSharedData *shared = GetQuarvoSharedData();
    MainControlData *control = GetMainControlData();
    HWND window = CreateWindowExA(0, "STATIC", "kit host", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);

    Check(shared != NULL, "GetQuarvoSharedData returns the shared control block");
    Check(control != NULL, "GetMainControlData returns the main-control block");
    if (!shared || !control)
        return failures;
    control->mainWindow = window;

    /* pavrik writes the flag through its own view; quarvo's view sees it. */
    Check(InitKBDDll(TRUE) != 0, "InitKBDDll(TRUE) places the function-key hook");
    Check(shared->skipLowLevelKeyboard == 1, "pavrik sets skipLowLevelKeyboard in quarvo's block");
    Check(InstallDisableHook(TRUE, HOOK_KEYBOARD | HOOK_KEYBOARD_LL, GetCurrentThreadId()) == HOOK_KEYBOARD,
          "InstallDisableHook leaves the low-level keyboard hook to pavrik");
    Check(InstallDisableHook(FALSE, 0, 0) == 0, "InstallDisableHook(FALSE) had no low-level keyboard hook to remove");
    Check(InitKBDDll(FALSE) != 0, "InitKBDDll(FALSE) removes the function-key hook");
    Check(shared->skipLowLevelKeyboard == 0, "pavrik clears skipLowLevelKeyboard");

    Check(InitQuarvoDll(TRUE, window) != 0, "InitQuarvoDll(TRUE) starts window-event forwarding");
    Check(InitQuarvoDll(FALSE, NULL) != 0, "InitQuarvoDll(FALSE) stops it");

    control->mainWindow = NULL;
    DestroyWindow(window);
    return failures;
}
