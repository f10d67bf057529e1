// The function-key capture's decisions, as plain functions of the keystroke.
#pragma once
#include <windows.h>

inline bool IsInjected(DWORD flags)
{
    return (flags & LLKHF_INJECTED) != 0;
}

inline bool IsRelease(DWORD flags)
{
    return (flags & LLKHF_UP) != 0;
}

// F1..F12; F13 and above are left to the applications.
inline bool IsCapturedKey(DWORD key)
{
    return key >= VK_F1 && key <= VK_F12;
}

// A key-state word whose high byte is nonzero means the key is down.
inline bool IsDown(SHORT keyState)
{
    return (keyState & 0xFF00) != 0;
}

// The held-key latch: a press is reported only when no function-key press
// has been reported since the last release of any key, so auto-repeat and a
// second function key pressed meanwhile stay silent. Records the key before
// the caller posts, so a lost post still silences the repeats.
inline bool LatchPress(DWORD *held, DWORD key)
{
    if (*held)
        return false;
    *held = key;
    return true;
}

inline void ClearLatch(DWORD *held)
{
    *held = 0;
}
