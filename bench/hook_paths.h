// The paths through the hook procedures that the benchmark times: for each,
// the crafted event, the state the procedure finds, the platform calls its
// rules require and the baseline procedure that makes exactly those calls.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

enum Latch { LatchClear, LatchHeld };

struct HookPath {
    const char *library; // "quarvo" or "pavrik"
    const char *procedure;
    const char *event;
    int code;
    WPARAM wParam;
    const void *record;                // lParam
    BYTE inputDisabled;
    bool ctrlHeld;                     // the thread's key state has Ctrl down
    Latch latch;                       // pavrik's held-key latch before each call
    const char *sameCalls;             // baseline export making exactly the path's platform calls
    std::vector<std::string> required; // the platform calls the rules require, sorted
    bool passOn;                       // passing the event on is all the path does
};

const std::vector<HookPath> &HookPaths();

// Where the guard window lies: the crafted clicks fall inside or outside it.
const RECT hookPathGuardRect = {100, 100, 300, 250};
