// Real keystrokes through pavrik's hook, as a user types them.
//
// xdotool types into a window of the helper program (another process), which
// has the focus and reports every key message it receives. pavrik's hook is
// placed by a thread of this program that does nothing but pump its queue,
// since the platform calls the hook procedure on that thread while this one
// waits for xdotool. Two hooks of the test surround pavrik's: the head,
// placed last and so called first, records every keystroke with pavrik's
// verdict; the tail, placed first, records what pavrik passes on down the
// chain. The host window of this thread receives pavrik's commands.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "messages.h"
#include "shared_slots.h"
#include "quarvo_pavrik.h"
#include "processes.h"

struct Transcript {
    // Each keystroke in hook order with what became of it, comma-separated:
    //   "F5 down posted"     discarded, WM_FKEY_COMMAND (5, the key) posted
    //   "F5 down discarded"  discarded, nothing posted
    //   "F5 down passed"     passed on down the hook chain
    //   "F5 down to window"  sent to its window, later hooks skipped
    // Injected keystrokes read "F5 injected down ...".
    std::string hook;
    // Key presses and releases the focused program received: "F5 down, F5 up".
    std::string program;
    // In both, a run of identical entries (auto-repeat) is written once with
    // " (repeated)" appended.
};

class KeySession {
public:
    // Creates the host window, starts and focuses the helper's window,
    // places the hooks and sets mainWindow to the host window (when pavrik
    // has a main-control block). Failures are reported as test failures.
    KeySession();
    // Removes the hooks, closes the helper, clears mainWindow.
    ~KeySession();
    KeySession(const KeySession &) = delete;
    KeySession &operator=(const KeySession &) = delete;

    bool Ready() const { return ready_; }
    HWND Host() const { return host_; }
    // What InitKBDDll(TRUE) returned on the hook thread.
    UINT_PTR PavrikHook() const;

    // Types a script of comma-separated steps and waits until everything
    // it caused has arrived. Steps: "down K", "up K", "press K" (down and
    // up) and "hold SECONDS" (the last key pressed and still held
    // auto-repeats meanwhile) through xdotool; "inject-down K" and
    // "inject-up K" from this program (SendInput); "sync" waits until the
    // focused program has received every key typed so far, as a pause after
    // a modifier step that the next keystroke depends on. K is F1..F24, a
    // letter other than x, ctrl, shift or alt.
    //
    // A sync types x, which the head hook sends straight to its window:
    // pavrik never sees it, and it is left out of both transcripts. Typing
    // it also ends the auto-repeat of a key still held.
    Transcript Type(const std::string &script);

private:
    void TypeAndSync(const std::string &xdotoolSteps);
    bool ready_ = false;
    HWND host_ = nullptr;
    HANDLE hookThread_ = nullptr;
    DWORD hookThreadId_ = 0;
    Child helper_;
    std::vector<Received> received_; // everything that arrived during Type
    size_t syncs_ = 0;                // of the current Type
};
