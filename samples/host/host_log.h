// The host's log: every line timestamped ("12:00:01.234  text"), shown in
// the window's list and, on request, written to standard output for scripts.
#pragma once
#include <windows.h>
#include <string>

// Also writes each line to standard output, flushed at once. A GUI program
// started from a console has no output handle of its own: it then writes to
// the console of the program that started it.
void LogToStandardOutput();

// Shows the log in this list box (the lines so far included); nullptr stops.
void ShowLogIn(HWND list);

void Log(const std::string &text);
