#include "hook_paths.h"
#include <iterator>

namespace {
MOUSEHOOKSTRUCTEX MouseRecord(LONG x, LONG y, SHORT wheel)
{
    MOUSEHOOKSTRUCTEX record = {};
    record.pt.x = x;
    record.pt.y = y;
    record.mouseData = MAKELONG(0, static_cast<WORD>(wheel));
    return record;
}

KBDLLHOOKSTRUCT KeyRecord(DWORD key, DWORD flags)
{
    KBDLLHOOKSTRUCT record = {};
    record.vkCode = key;
    record.flags = flags;
    return record;
}

const MOUSEHOOKSTRUCTEX outside = MouseRecord(50, 50, 0);
const MOUSEHOOKSTRUCTEX inside = MouseRecord(150, 150, 0);
const MOUSEHOOKSTRUCTEX wheelUp = MouseRecord(150, 150, 120);
const MSLLHOOKSTRUCT lowLevelMouse = {};
const KBDLLHOOKSTRUCT keyA = KeyRecord('A', 0);
const KBDLLHOOKSTRUCT f5Press = KeyRecord(VK_F5, 0);
const KBDLLHOOKSTRUCT f5Release = KeyRecord(VK_F5, LLKHF_UP);
const KBDLLHOOKSTRUCT f5Injected = KeyRecord(VK_F5, LLKHF_INJECTED);

const std::vector<std::string> none = {};
const std::vector<std::string> passOn = {"CallNextHookEx"};
const std::vector<std::string> threeKeyStates = {"GetKeyState", "GetKeyState", "GetKeyState"};
const std::vector<std::string> threeKeyStatesPost = {"GetKeyState", "GetKeyState", "GetKeyState", "PostMessageA"};

const HookPath paths[] = {
    // quarvo: disable mode on, guard, wheel and alert windows set
    {"quarvo", "MouDisableProc", "mouse move", HC_ACTION, WM_MOUSEMOVE, &outside, 1, false, LatchClear,
     "PassOnly", passOn, true},
    {"quarvo", "MouDisableProcL", "mouse move", HC_ACTION, WM_MOUSEMOVE, &lowLevelMouse, 1, false, LatchClear,
     "PassOnly", passOn, true},
    {"quarvo", "MouDisableProc", "click outside the guard window", HC_ACTION, WM_LBUTTONDOWN, &outside, 1, false,
     LatchClear, "WindowRectInRectPost", {"GetWindowRect", "PostMessageA", "PtInRect"}, false},
    {"quarvo", "MouDisableProc", "click inside the guard window", HC_ACTION, WM_LBUTTONDOWN, &inside, 1, false,
     LatchClear, "WindowRectInRect", {"GetWindowRect", "PtInRect"}, false},
    {"quarvo", "MouDisableProc", "wheel notch, redirected", HC_ACTION, WM_MOUSEWHEEL, &wheelUp, 1, false, LatchClear,
     "IsWindowVersionPost", {"GetVersionExA", "IsWindow", "PostMessageA"}, false},
    {"quarvo", "MouDisableProc", "click, disable mode off", HC_ACTION, WM_LBUTTONDOWN, &outside, 0, false, LatchClear,
     "ReturnZero", none, false},
    {"quarvo", "MouDisableProcL", "button press", HC_ACTION, WM_LBUTTONDOWN, &lowLevelMouse, 1, false, LatchClear,
     "ReturnZero", none, false},
    {"quarvo", "KbdDisableProc", "silent key (F5)", HC_ACTION, VK_F5, nullptr, 1, false, LatchClear, "ReturnZero",
     none, false},
    {"quarvo", "KbdDisableProc", "alerting key (A)", HC_ACTION, 'A', nullptr, 1, false, LatchClear, "PostOnly",
     {"PostMessageA"}, false},
    {"quarvo", "KbdDisableProcL", "any key", HC_ACTION, WM_KEYDOWN, &keyA, 1, false, LatchClear, "ReturnZero", none,
     false},
    // pavrik: main window set, disable mode off unless stated
    {"pavrik", "LowLevelKeyboardProc5", "non-function key (A)", HC_ACTION, WM_KEYDOWN, &keyA, 0, false, LatchClear,
     "PassOnly", passOn, true},
    {"pavrik", "LowLevelKeyboardProc5", "injected F5", HC_ACTION, WM_KEYDOWN, &f5Injected, 0, false, LatchClear,
     "PassOnly", passOn, true},
    {"pavrik", "LowLevelKeyboardProc5", "F5 press", HC_ACTION, WM_KEYDOWN, &f5Press, 0, false, LatchClear,
     "ThreeKeyStatesPost", threeKeyStatesPost, false},
    {"pavrik", "LowLevelKeyboardProc5", "F5 repeat", HC_ACTION, WM_KEYDOWN, &f5Press, 0, false, LatchHeld,
     "ThreeKeyStates", threeKeyStates, false},
    {"pavrik", "LowLevelKeyboardProc5", "F5 release", HC_ACTION, WM_KEYUP, &f5Release, 0, false, LatchHeld,
     "ThreeKeyStates", threeKeyStates, false},
    {"pavrik", "LowLevelKeyboardProc5", "F5 press, Ctrl held", HC_ACTION, WM_KEYDOWN, &f5Press, 0, true, LatchClear,
     "OneKeyStatePass", {"CallNextHookEx", "GetKeyState"}, false},
    {"pavrik", "LowLevelKeyboardProc5", "any key, disable mode on", HC_ACTION, WM_KEYDOWN, &keyA, 1, false,
     LatchClear, "ReturnZero", none, false},
};
} // namespace

const std::vector<HookPath> &HookPaths()
{
    static const std::vector<HookPath> all(std::begin(paths), std::end(paths));
    return all;
}
