#include "hook_slot.h"

void PlaceHookInSlot(HHOOK *slot, int kind, HOOKPROC procedure, HINSTANCE module, DWORD threadId)
{
    if (*slot)
        return;
    *slot = SetWindowsHookExA(kind, procedure, module, threadId);
}

BOOL RemoveHookInSlot(HHOOK *slot)
{
    if (!*slot)
        return FALSE;
    BOOL removed = UnhookWindowsHookEx(*slot);
    *slot = 0;
    return removed;
}
