// Function-key capture: real keystrokes through pavrik's hook into a focused
// window of another process, and the placing and removing of the hook.
#include <sstream>
#include <string>
#include <vector>
#include "check.h"
#include "key_session.h"
#include "pe_image.h"
#include "processes.h"
#include "quarvo_pavrik.h"

namespace {
struct TypingCase {
    std::string name;
    std::string script;
    std::string hook;    // what became of each keystroke at the hook
    std::string program; // what the focused program received
};

void CheckTyping(KeySession &session, const TypingCase &row)
{
    FailureContext context(row.name);
    Transcript seen = session.Type(row.script);
    CHECK_EQ(row.hook, seen.hook);
    CHECK_EQ(row.program, seen.program);
}

// "F# down" over 1..12 gives "F1 down, F2 down, ..., F12 down".
std::string ForEachFunctionKey(const std::string &pattern)
{
    std::string text;
    for (int n = 1; n <= 12; ++n) {
        std::string item = pattern;
        for (size_t at; (at = item.find('#')) != std::string::npos;)
            item.replace(at, 1, std::to_string(n));
        text += (text.empty() ? "" : ", ") + item;
    }
    return text;
}

volatile QuarvoSharedData *SharedBlock()
{
    return GetQuarvoSharedData();
}

int SkipFlag()
{
    return SharedBlock()->skipLowLevelKeyboard;
}

DWORD HeldFunctionKey()
{
    return PavrikDataSeg()->heldFunctionKey;
}

std::vector<std::string> Words(const std::string &text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}
} // namespace

// One command per press however long the key is held; the focused program
// sees neither the press, its repeats nor the release.
TEST(each_function_key_press_posts_one_command_and_is_taken_away)
{
    KeySession session;
    if (!session.Ready())
        return;
    const TypingCase rows[] = {
        {"F5 pressed, held with auto-repeat, released", "down F5, hold 1, up F5",
         "F5 down posted, F5 down discarded (repeated), F5 up discarded", ""},
        {"F5 pressed twice", "press F5, press F5", "F5 down posted, F5 up discarded, F5 down posted, F5 up discarded",
         ""},
        {"F10, a system key to applications, like the others", "press F10", "F10 down posted, F10 up discarded", ""},
        {"every key from F1 to F12", ForEachFunctionKey("press F#"),
         ForEachFunctionKey("F# down posted, F# up discarded"), ""},
        // Xvfb's keymap has no F13 or F24: xdotool binds a spare keycode to
        // each for a moment, so they are typed one per row.
        {"F13 passes", "press F13", "F13 down passed, F13 up passed", "F13 down, F13 up"},
        {"F24 passes", "press F24", "F24 down passed, F24 up passed", "F24 down, F24 up"},
        {"other keys pass", "press a", "a down passed, a up passed", "a down, a up"},
    };
    for (const TypingCase &row : rows) {
        CheckTyping(session, row);
        CHECK_EQ(0UL, HeldFunctionKey());
    }
}

// While F5 is held its latch silences repeats and other function keys; the
// release of any key re-arms it.
TEST(a_release_of_any_key_rearms_the_held_key_latch)
{
    KeySession session;
    if (!session.Ready())
        return;
    {
        FailureContext context("F5 held, F6 pressed and released");
        Transcript seen = session.Type("down F5, hold 1, down F6, up F6");
        CHECK_EQ(std::string("F5 down posted, F5 down discarded (repeated), F6 down discarded, F6 up discarded"),
                 seen.hook);
        CHECK_EQ(std::string(""), seen.program);
        CHECK_EQ(0UL, HeldFunctionKey()); // F5 is still held
        seen = session.Type("up F5");
        CHECK_EQ(std::string("F5 up discarded"), seen.hook);
    }
    const TypingCase rows[] = {
        // Shift does not stop the auto-repeat of F5: its repeats pass while
        // Shift is held, and the first one after Shift's release posts again.
        {"F5 held, Shift pressed and released", "down F5, hold 1, down shift, hold 0.5, up shift, hold 1, up F5",
         "F5 down posted, F5 down discarded (repeated), shift down passed, F5 down passed (repeated), "
         "shift up passed, F5 down posted, F5 down discarded (repeated), F5 up discarded",
         "shift down, F5 down (repeated), shift up"},
        // The press was taken, the release under Ctrl is not: programs see an
        // F5 release without its press.
        {"F5 pressed, Ctrl pressed, F5 released under Ctrl", "down F5, down ctrl, sync, up F5, up ctrl",
         "F5 down posted, ctrl down passed, F5 up passed, ctrl up passed", "ctrl down, F5 up, ctrl up"},
        // Conversely the press went through and the release is taken.
        {"F5 pressed under Ctrl, Ctrl released before F5", "down ctrl, sync, down F5, up ctrl, sync, up F5",
         "ctrl down passed, F5 down passed, ctrl up passed, F5 up discarded", "ctrl down, F5 down, ctrl up"},
    };
    for (const TypingCase &row : rows) {
        CheckTyping(session, row);
        CHECK_EQ(0UL, HeldFunctionKey());
    }
}

// Ctrl+F5, Shift+F5 and Alt+F4 must reach the program that has the focus,
// which runs in another process than the thread that placed the hook.
TEST(function_keys_with_ctrl_shift_or_alt_held_reach_the_focused_program)
{
    KeySession session;
    if (!session.Ready())
        return;
    for (const char *modifier : {"ctrl", "shift", "alt"}) {
        std::string m = modifier;
        CheckTyping(session, {m + " held", "down " + m + ", sync, " + ForEachFunctionKey("press F#") + ", up " + m,
                              m + " down passed, " + ForEachFunctionKey("F# down passed, F# up passed") + ", " + m +
                                  " up passed",
                              m + " down, " + ForEachFunctionKey("F# down, F# up") + ", " + m + " up"});
    }
}

TEST(with_no_main_window_every_key_passes_and_the_latch_stays)
{
    KeySession session;
    if (!session.Ready())
        return;
    MainControlData *control = GetMainControlData();
    CHECK_EQ(std::string("F5 down posted"), session.Type("down F5").hook);

    control->mainWindow = nullptr;
    Transcript seen = session.Type("press F6, press a, up F5");
    CHECK_EQ(std::string("F6 down passed, F6 up passed, a down passed, a up passed, F5 up passed"), seen.hook);
    CHECK_EQ(std::string("F6 down, F6 up, a down, a up, F5 up"), seen.program);
    CHECK_EQ(static_cast<DWORD>(VK_F5), HeldFunctionKey());

    // The latch left from before still silences the next press.
    control->mainWindow = session.Host();
    CHECK_EQ(std::string("F7 down discarded, F7 up discarded"), session.Type("press F7").hook);
    CHECK_EQ(0UL, HeldFunctionKey());
}

// Disable mode hands every physical key straight to its window, past any
// later hook; releases still re-arm the latch.
TEST(in_disable_mode_function_keys_reach_the_program_and_post_nothing)
{
    KeySession session;
    if (!session.Ready())
        return;
    CHECK_EQ(std::string("F5 down posted"), session.Type("down F5").hook);

    SharedBlock()->inputDisabled = 1;
    Transcript seen = session.Type("down F6, up F5, up F6, press a");
    SharedBlock()->inputDisabled = 0;
    CHECK_EQ(std::string("F6 down to window, F5 up to window, F6 up to window, a down to window, a up to window"),
             seen.hook);
    CHECK_EQ(std::string("F6 down, F5 up, F6 up, a down, a up"), seen.program);
    CHECK_EQ(0UL, HeldFunctionKey());

    CHECK_EQ(std::string("F5 down posted, F5 up discarded"), session.Type("press F5").hook);
}

// Keys that programs inject pass untouched: no command, and their releases
// leave the latch alone.
TEST(injected_keys_pass_untouched)
{
    KeySession session;
    if (!session.Ready())
        return;
    Transcript seen = session.Type("inject-down F5, inject-up F5");
    CHECK_EQ(std::string("F5 injected down passed, F5 injected up passed"), seen.hook);
    CHECK_EQ(std::string("F5 down, F5 up"), seen.program);

    seen = session.Type("down F6, inject-down F5, inject-up F5");
    CHECK_EQ(std::string("F6 down posted, F5 injected down passed, F5 injected up passed"), seen.hook);
    CHECK_EQ(static_cast<DWORD>(VK_F6), HeldFunctionKey());
    CHECK_EQ(std::string("F6 up discarded"), session.Type("up F6").hook);
}

// The handle lives in the shared slot; the flag follows every request,
// whether or not it placed or removed anything. Only the low byte of the
// argument counts.
TEST(enable_and_disable_set_the_shared_hook_and_the_skip_flag)
{
    typedef UINT_PTR(WINAPI * InitRaw)(DWORD);
    InitRaw init = ExportOf<InitRaw>(GetModuleHandleA("pavrik.dll"), "InitKBDDll");
    volatile PavrikSlots *slots = PavrikDataSeg();
    CHECK(slots->fkeyHook.handle == nullptr);

    SharedBlock()->skipLowLevelKeyboard = 0;
    UINT_PTR hook = init(0x00000101);
    CHECK(hook != 0);
    CHECK_EQ(hook, reinterpret_cast<UINT_PTR>(slots->fkeyHook.handle));
    CHECK_EQ(1, SkipFlag());

    SharedBlock()->skipLowLevelKeyboard = 0;
    CHECK_EQ(hook, init(0xFFFFFF01)); // placed already: the same handle
    CHECK_EQ(1, SkipFlag());

    CHECK(init(0xFFFFFF00) != 0);
    CHECK(slots->fkeyHook.handle == nullptr);
    CHECK_EQ(0, SkipFlag());
    CHECK(!UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook))); // really removed

    SharedBlock()->skipLowLevelKeyboard = 1;
    CHECK_EQ(0u, init(0x00000200)); // nothing to remove
    CHECK_EQ(0, SkipFlag());
}

TEST(another_process_sees_the_hook_and_its_disable_removes_it)
{
    UINT_PTR hook = InitKBDDll(TRUE);
    CHECK(hook != 0);
    std::string output;
    CHECK_EQ(0UL, RunHelper("load pavrik.dll call pavrik.dll InitKBDDll 1 call pavrik.dll InitKBDDll 0", &output));
    std::vector<std::string> results = Words(output);
    CHECK_EQ(2u, results.size());
    if (results.size() == 2) {
        CHECK_EQ(std::to_string(hook), results[0]);
        CHECK(results[1] != "0");
    }
    CHECK(PavrikDataSeg()->fkeyHook.handle == nullptr);
    CHECK_EQ(0, SkipFlag());
    CHECK(!UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook))); // gone for this process too
}

TEST(another_process_unloading_pavrik_leaves_blocks_and_hook_alone)
{
    MainControlData *control = GetMainControlData();
    CHECK(control != nullptr);
    CHECK(control == GetMainControlData());
    HWND window = CreateTestWindow("pavrik-main", 700, 300, 100, 100);
    control->mainWindow = window;
    UINT_PTR hook = InitKBDDll(TRUE);

    CHECK_EQ(0UL, RunHelper("load pavrik.dll free pavrik.dll"));
    CHECK(control->mainWindow == window);
    CHECK_EQ(1, SkipFlag());
    CHECK_EQ(hook, reinterpret_cast<UINT_PTR>(PavrikDataSeg()->fkeyHook.handle));

    CHECK(InitKBDDll(FALSE) != 0);
    control->mainWindow = nullptr;
    DestroyWindow(window);
}

TEST(while_capture_is_requested_quarvo_places_no_low_level_keyboard_hook)
{
    InitKBDDll(TRUE);
    CHECK_EQ(0u, InstallDisableHook(TRUE, HOOK_KEYBOARD_LL, 0));
    InitKBDDll(FALSE);
    CHECK_EQ(static_cast<UINT_PTR>(HOOK_KEYBOARD_LL), InstallDisableHook(TRUE, HOOK_KEYBOARD_LL, 0));
    CHECK(InstallDisableHook(FALSE, 0, 0) != 0);
}

// A copy of the helper that Wine tells it runs on the older Windows family.
TEST(outside_the_nt_family_enable_places_no_hook_but_sets_the_flag)
{
    const char *program = "pavrik_old_family.exe";
    HKEY key = nullptr;
    std::string path = std::string("Software\\Wine\\AppDefaults\\") + program;
    CHECK_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                             &key, nullptr));
    CHECK_EQ(ERROR_SUCCESS, RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE *>("win98"), 6));
    RegCloseKey(key);

    SharedBlock()->skipLowLevelKeyboard = 0;
    std::string output;
    CHECK_EQ(0UL, RunHelper("load pavrik.dll load quarvo.dll call pavrik.dll InitKBDDll 1 print-block "
                            "call pavrik.dll InitKBDDll 0 print-block",
                            &output, 20000, program));
    std::vector<std::string> results = Words(output);
    CHECK_EQ(4u, results.size());
    if (results.size() == 4) {
        CHECK_EQ(std::string("0"), results[0]);               // no hook handle
        CHECK_EQ(std::string("01"), results[1].substr(2, 2)); // skipLowLevelKeyboard
        CHECK_EQ(std::string("0"), results[2]);               // nothing was placed to remove
        CHECK_EQ(std::string("00"), results[3].substr(2, 2));
    }
    CHECK(PavrikDataSeg()->fkeyHook.handle == nullptr);
}
