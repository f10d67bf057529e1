// Window-event forwarding's decisions, as plain functions of the event and
// the block's fields.
#pragma once
#include <windows.h>
#include "quarvo_pavrik.h"

// The registered range: events 3 to 23.
const DWORD FIRST_REGISTERED_EVENT = EVENT_SYSTEM_FOREGROUND;
const DWORD LAST_REGISTERED_EVENT = EVENT_SYSTEM_MINIMIZEEND;

// Foreground change, menu start and end, task-switch start and end are
// forwarded; the rest of the registered range is dropped.
inline bool IsForwardedEvent(DWORD event)
{
    switch (event) {
    case EVENT_SYSTEM_FOREGROUND:
    case EVENT_SYSTEM_MENUSTART: case EVENT_SYSTEM_MENUEND:
    case EVENT_SYSTEM_SWITCHSTART: case EVENT_SYSTEM_SWITCHEND:
        return true;
    default:
        return false;
    }
}

// Nothing is forwarded while disable mode is on and the host's mode is 310.
inline bool IsForwardingMuted(BYTE inputDisabled, DWORD hostMode)
{
    return inputDisabled && hostMode == QUARVO_MUTED_HOST_MODE;
}
