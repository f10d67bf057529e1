#include "notification_text.h"
#include <cstdio>
#include <windowsx.h>
#include "quarvo_pavrik.h"

std::string DescribeAlert()
{
    return "Guard alert";
}

static const char *EventName(WPARAM event)
{
    switch (event) {
    case EVENT_SYSTEM_FOREGROUND:
        return "foreground window changed";
    case EVENT_SYSTEM_MENUSTART:
        return "menu opened";
    case EVENT_SYSTEM_MENUEND:
        return "menu closed";
    case EVENT_SYSTEM_SWITCHSTART:
        return "task switch started";
    case EVENT_SYSTEM_SWITCHEND:
        return "task switch ended";
    default:
        return "event";
    }
}

std::string DescribeWindowEvent(WPARAM event)
{
    char text[80];
    std::snprintf(text, sizeof text, "Window event: %s (%u)", EventName(event), event);
    return text;
}

std::string DescribeFunctionKey(WPARAM command, LPARAM key)
{
    char text[80];
    if (key >= VK_F1 && key <= VK_F24)
        std::snprintf(text, sizeof text, "F-key command: F%ld", key - VK_F1 + 1);
    else
        std::snprintf(text, sizeof text, "F-key command: key 0x%02lX", key);
    std::string line = text;
    if (command != FKEY_COMMAND_WPARAM)
        line += " (command " + std::to_string(command) + ")";
    return line;
}

std::string DescribeWheel(WPARAM wParam, LPARAM point)
{
    int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    char text[80];
    if (delta == WHEEL_DELTA || delta == -WHEEL_DELTA)
        std::snprintf(text, sizeof text, "Wheel: one notch %s at %d,%d", delta > 0 ? "up" : "down",
                      GET_X_LPARAM(point), GET_Y_LPARAM(point));
    else
        std::snprintf(text, sizeof text, "Wheel: delta %d at %d,%d", delta, GET_X_LPARAM(point), GET_Y_LPARAM(point));
    return text;
}
