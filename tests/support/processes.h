// Other processes for tests: the helper program and xdotool.
#pragma once
#include <windows.h>
#include <string>

// Full path of a file next to the running test program.
std::string PathBesideProgram(const char *fileName);

struct Child {
    HANDLE process = nullptr;
    HANDLE output = nullptr; // read end of its standard output
};

// Starts test_helper.exe (or a copy of it under another name, which Wine may
// configure differently) with the given arguments, its output piped to us.
Child StartHelper(const std::string &arguments, const char *program = "test_helper.exe");
// Waits for the child (killing it after `milliseconds`), returns its exit
// code and fills *output with everything it printed (LF line ends).
DWORD FinishChild(Child &child, DWORD milliseconds, std::string *output = nullptr);
// Start and finish in one call.
DWORD RunHelper(const std::string &arguments, std::string *output = nullptr, DWORD milliseconds = 20000,
                const char *program = "test_helper.exe");

// Runs xdotool with the arguments (real X input under Xvfb); true on exit 0.
bool Xdotool(const std::string &arguments);
// Gives the X focus to the top-level window with exactly this title.
bool FocusWindow(const char *title);
