#include "key_session.h"
#include <cctype>
#include <cstdio>
#include <sstream>
#include "check.h"
#include "helper_protocol.h"
#include "pe_image.h"

namespace {
const char *const targetTitle = "pavrik-target";

// Posted to the host window by the test's own hooks: wParam the keystroke
// (key in the low word, flags in the high word); the head adds its result.
const UINT WM_HEAD_REPORT = WM_APP + 20;
const UINT WM_TAIL_REPORT = WM_APP + 21;

// Typed after the script; the head hook sends it straight to its window, so
// pavrik never sees it and its latch stays as the script left it.
const DWORD sentinelKey = 'X';
const DWORD syncMilliseconds = 15000;

typedef UINT_PTR(WINAPI *InitFunction)(BOOLEAN);
typedef MainControlData *(WINAPI *ControlGetter)(void);

HWND reportWindow = nullptr;
HHOOK headHook = nullptr;
HHOOK tailHook = nullptr;
UINT_PTR pavrikHook = 0;

HMODULE Pavrik()
{
    return GetModuleHandleA("pavrik.dll");
}

MainControlData *ControlBlock()
{
    ControlGetter get = ExportOf<ControlGetter>(Pavrik(), "GetMainControlData");
    return get ? get() : nullptr;
}

UINT_PTR InitKBD(BOOLEAN enable)
{
    InitFunction init = ExportOf<InitFunction>(Pavrik(), "InitKBDDll");
    return init ? init(enable) : 0;
}

WPARAM KeystrokeParam(LPARAM record)
{
    const KBDLLHOOKSTRUCT *key = reinterpret_cast<const KBDLLHOOKSTRUCT *>(record);
    return MAKEWPARAM(key->vkCode, key->flags);
}

LRESULT CALLBACK HeadHook(int code, WPARAM message, LPARAM record)
{
    if (code < 0)
        return CallNextHookEx(headHook, code, message, record);
    if (LOWORD(KeystrokeParam(record)) == sentinelKey)
        return 0;
    LRESULT result = CallNextHookEx(headHook, code, message, record);
    PostMessageA(reportWindow, WM_HEAD_REPORT, KeystrokeParam(record), result);
    return result;
}

LRESULT CALLBACK TailHook(int code, WPARAM message, LPARAM record)
{
    if (code >= 0)
        PostMessageA(reportWindow, WM_TAIL_REPORT, KeystrokeParam(record), 0);
    return CallNextHookEx(tailHook, code, message, record);
}

// Places the hooks, pumps until WM_QUIT, removes them.
DWORD WINAPI HookThread(void *ready)
{
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    HINSTANCE self = GetModuleHandleA(nullptr);
    tailHook = SetWindowsHookExA(WH_KEYBOARD_LL, TailHook, self, 0);
    pavrikHook = InitKBD(TRUE);
    headHook = SetWindowsHookExA(WH_KEYBOARD_LL, HeadHook, self, 0);
    SetEvent(static_cast<HANDLE>(ready));
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    UnhookWindowsHookEx(headHook);
    InitKBD(FALSE);
    UnhookWindowsHookEx(tailHook);
    headHook = tailHook = nullptr;
    return 0;
}

std::string KeyName(DWORD key)
{
    if (key >= VK_F1 && key <= VK_F24)
        return "F" + std::to_string(key - VK_F1 + 1);
    if (key >= 'A' && key <= 'Z')
        return std::string(1, static_cast<char>(key - 'A' + 'a'));
    switch (key) {
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL:
        return "ctrl";
    case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT:
        return "shift";
    case VK_MENU: case VK_LMENU: case VK_RMENU:
        return "alt";
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "vk%02lx", key);
    return hex;
}

DWORD VirtualKeyOf(const std::string &name)
{
    if (name == "ctrl")
        return VK_CONTROL;
    if (name == "shift")
        return VK_SHIFT;
    if (name == "alt")
        return VK_MENU;
    if (name.size() > 1 && name[0] == 'F')
        return VK_F1 + std::stoul(name.substr(1)) - 1;
    return static_cast<DWORD>(std::toupper(static_cast<unsigned char>(name[0])));
}

std::string Keystroke(WPARAM keystroke)
{
    DWORD flags = HIWORD(keystroke);
    return KeyName(LOWORD(keystroke)) + (flags & LLKHF_INJECTED ? " injected" : "") +
           (flags & LLKHF_UP ? " up" : " down");
}

// A run of identical entries, as auto-repeat makes, is written once and
// marked: how many repeats the X server sends depends on how long it ran.
std::string Join(const std::vector<std::string> &parts)
{
    std::string text;
    for (size_t i = 0; i < parts.size();) {
        size_t run = 1;
        while (i + run < parts.size() && parts[i + run] == parts[i])
            ++run;
        text += (text.empty() ? "" : ", ") + parts[i] + (run > 1 ? " (repeated)" : "");
        i += run;
    }
    return text;
}

// What pavrik did with one keystroke, from what its neighbours saw.
std::string Fate(const Received &head, bool tailReached, const std::vector<Received> &commands, HWND host)
{
    if (!commands.empty()) {
        const Received &c = commands.front();
        if (commands.size() == 1 && c.window == host && c.wParam == FKEY_COMMAND_WPARAM &&
            c.lParam == static_cast<LPARAM>(LOWORD(head.wParam)) && head.lParam == 1 && !tailReached)
            return "posted";
        std::ostringstream odd;
        odd << "posted " << commands.size() << " unexpected " << commands;
        return odd.str();
    }
    if (tailReached)
        return "passed";
    if (head.lParam == 1)
        return "discarded";
    if (head.lParam == 0)
        return "to window";
    return "returned " + std::to_string(head.lParam);
}

std::string HookTranscript(const std::vector<Received> &received, HWND host)
{
    std::vector<std::string> parts;
    std::vector<Received> commands;
    bool tailReached = false;
    for (const Received &r : received) {
        if (r.message == WM_TAIL_REPORT)
            tailReached = true;
        else if (r.message == WM_FKEY_COMMAND)
            commands.push_back(r);
        else if (r.message == WM_HEAD_REPORT) {
            parts.push_back(Keystroke(r.wParam) + " " + Fate(r, tailReached, commands, host));
            tailReached = false;
            commands.clear();
        }
    }
    if (!commands.empty()) {
        std::ostringstream stray;
        stray << "stray commands " << commands;
        parts.push_back(stray.str());
    }
    return Join(parts);
}

bool IsKeyMessage(WPARAM message, bool *release)
{
    *release = message == WM_KEYUP || message == WM_SYSKEYUP;
    return *release || message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
}

std::string ProgramTranscript(const std::vector<Received> &received)
{
    std::vector<std::string> parts;
    bool release = false;
    for (const Received &r : received)
        if (r.message == WM_HELPER_REPORT && IsKeyMessage(r.wParam, &release) &&
            static_cast<DWORD>(r.lParam) != sentinelKey)
            parts.push_back(KeyName(static_cast<DWORD>(r.lParam)) + (release ? " up" : " down"));
    return Join(parts);
}

size_t CountSentinelReleases(const std::vector<Received> &received)
{
    size_t count = 0;
    bool release = false;
    for (const Received &r : received)
        count += r.message == WM_HELPER_REPORT && IsKeyMessage(r.wParam, &release) && release &&
                 static_cast<DWORD>(r.lParam) == sentinelKey;
    return count;
}

std::string XdotoolCommand(const std::string &verb)
{
    if (verb == "down")
        return "keydown";
    if (verb == "up")
        return "keyup";
    if (verb == "hold")
        return "sleep";
    return "key";
}

std::vector<std::string> Split(const std::string &script)
{
    std::vector<std::string> steps;
    std::istringstream in(script);
    std::string step;
    while (std::getline(in, step, ','))
        if (step.find_first_not_of(' ') != std::string::npos)
            steps.push_back(step.substr(step.find_first_not_of(' ')));
    return steps;
}
} // namespace

KeySession::KeySession()
{
    CHECK(Pavrik() != nullptr);
    host_ = CreateTestWindow("pavrik-host", 700, 100, 200, 100);
    reportWindow = host_;
    char arguments[128];
    std::snprintf(arguments, sizeof arguments, "window %s %lx 100 100 300 200 pump 120000", targetTitle,
                  static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(host_)));
    helper_ = StartHelper(arguments);
    CHECK(helper_.process != nullptr);
    bool focused = FocusWindow(targetTitle);
    CHECK(focused);

    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    hookThread_ = CreateThread(nullptr, 0, HookThread, ready, 0, &hookThreadId_);
    bool placed = WaitForSingleObject(ready, 10000) == WAIT_OBJECT_0 && headHook && tailHook;
    CloseHandle(ready);
    CHECK(placed);
    if (MainControlData *control = ControlBlock())
        control->mainWindow = host_;
    ready_ = Pavrik() && helper_.process && focused && placed;
}

KeySession::~KeySession()
{
    if (MainControlData *control = ControlBlock())
        control->mainWindow = nullptr;
    if (hookThread_) {
        PostThreadMessageA(hookThreadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(hookThread_, 10000);
        CloseHandle(hookThread_);
    }
    if (HWND target = FindWindowA(nullptr, targetTitle))
        PostMessageA(target, WM_CLOSE, 0, 0);
    FinishChild(helper_, 10000);
    DestroyWindow(host_);
    PumpMessages(0);
    reportWindow = nullptr;
}

UINT_PTR KeySession::PavrikHook() const
{
    return pavrikHook;
}

// Types the steps and then the sentinel, in one xdotool run so that no key
// the steps leave held waits long enough to auto-repeat (typing another key
// ends a repeat). Then waits for the focused program to report the
// sentinel's release: every keystroke typed before it has then passed all
// hooks and reached the program.
void KeySession::TypeAndSync(const std::string &xdotoolSteps)
{
    std::string commands = xdotoolSteps + (xdotoolSteps.empty() ? "" : " ") + "key x";
    bool sent = Xdotool(commands);
    FailureContext context("xdotool " + commands);
    CHECK(sent);
    ++syncs_;
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<Received> more = PumpMessages(0);
        received_.insert(received_.end(), more.begin(), more.end());
        if (CountSentinelReleases(received_) >= syncs_)
            return;
        if (GetTickCount() - start > syncMilliseconds) {
            ReportFailure(__FILE__, __LINE__, "the focused program did not report the sentinel key");
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

Transcript KeySession::Type(const std::string &script)
{
    received_.clear();
    syncs_ = 0;
    std::string batch;
    for (const std::string &step : Split(script)) {
        std::string verb = step.substr(0, step.find(' '));
        std::string key = step.substr(step.find(' ') + 1);
        if (verb == "inject-down" || verb == "inject-up") {
            TypeAndSync(batch);
            batch.clear();
            keybd_event(static_cast<BYTE>(VirtualKeyOf(key)), 0, verb == "inject-up" ? KEYEVENTF_KEYUP : 0, 0);
            continue;
        }
        if (verb == "sync") {
            TypeAndSync(batch);
            batch.clear();
            continue;
        }
        batch += (batch.empty() ? "" : " ") + XdotoolCommand(verb) + " " + key;
    }
    TypeAndSync(batch);
    return {HookTranscript(received_, host_), ProgramTranscript(received_)};
}
