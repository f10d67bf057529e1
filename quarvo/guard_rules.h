// The input guard's decisions, as plain functions of the event.
#pragma once
#include <stddef.h>
#include <windows.h>
#include "quarvo_pavrik.h"

static_assert(offsetof(MOUSEHOOKSTRUCT, pt) == 0, "pt leads the mouse record");
static_assert(offsetof(MOUSEHOOKSTRUCT, dwExtraInfo) == 16, "dwExtraInfo at 16");
static_assert(sizeof(MOUSEHOOKSTRUCT) == 20 && sizeof(MOUSEHOOKSTRUCTEX) == 24,
              "the extended record appends mouseData at 20");

inline bool IsMouseMove(WPARAM message)
{
    return message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE;
}

// The twelve button messages that alert when the pointer is outside the guard
// window: left and right presses and releases, middle and X releases, client
// and non-client. Middle and X presses and every double-click do not alert.
inline bool IsAlertingButton(WPARAM message)
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP:
    case WM_MBUTTONUP: case WM_XBUTTONUP:
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONUP:
    case WM_NCRBUTTONDOWN: case WM_NCRBUTTONUP:
    case WM_NCMBUTTONUP: case WM_NCXBUTTONUP:
        return true;
    default:
        return false;
    }
}

// Keys allowed in disable mode: F1..F12, Enter and the four arrows.
inline bool IsSilentKey(WPARAM key)
{
    return (key >= VK_F1 && key <= VK_F12) || key == VK_RETURN || (key >= VK_LEFT && key <= VK_DOWN);
}

// Signed wheel rotation. The NT family passes the extended record with the
// delta in the high word of mouseData; the older family keeps it in the low
// word of dwExtraInfo.
inline SHORT WheelRotation(const MOUSEHOOKSTRUCT *record, bool ntFamily)
{
    if (ntFamily)
        return static_cast<SHORT>(HIWORD(reinterpret_cast<const MOUSEHOOKSTRUCTEX *>(record)->mouseData));
    return static_cast<SHORT>(LOWORD(record->dwExtraInfo));
}

// wParam of the re-posted wheel message: one notch in the rotation's
// direction, no key-state bits; 0 when there is no rotation to post.
inline WPARAM WheelNotchParam(SHORT rotation)
{
    if (rotation > 0)
        return QUARVO_WHEEL_UP_WPARAM;
    if (rotation < 0)
        return QUARVO_WHEEL_DOWN_WPARAM;
    return 0;
}

// lParam of a mouse message carrying a screen point: x low word, y high word.
inline LPARAM ScreenPointParam(POINT pt)
{
    return static_cast<LPARAM>(MAKELONG(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
}
