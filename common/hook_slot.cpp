#include "hook_slot.h"

// Handle and owner change together, with one locked 8-byte exchange, so that
// no process ever sees a handle with another hook's owner.
static bool ExchangeSlot(HookSlot *slot, HookSlot expected, HookSlot replacement)
{
    return __atomic_compare_exchange(slot, &expected, &replacement, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
}

static HookSlot ReadSlot(HookSlot *slot)
{
    HookSlot now;
    __atomic_load(slot, &now, __ATOMIC_SEQ_CST);
    return now;
}

// Only a thread that has ended is taken for dead. OpenThread is looked up
// at run time because the older Windows family lacks it; there, and
// whenever the answer is unclear (no right to look), the owner counts as
// alive and the slot is kept, as it always was.
static bool HasThreadEnded(DWORD threadId)
{
    typedef HANDLE(WINAPI * OpenThreadFunction)(DWORD, BOOL, DWORD);
    OpenThreadFunction openThread = reinterpret_cast<OpenThreadFunction>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "OpenThread")));
    if (!openThread)
        return false;
    HANDLE thread = openThread(SYNCHRONIZE, FALSE, threadId);
    if (!thread)
        return GetLastError() == ERROR_INVALID_PARAMETER; // no such thread any more
    bool ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
}

// A hook whose owner has ended is taken out of the slot and removed. The
// platform may have freed it already (the removal then fails, which does not
// matter), but a desktop-wide hook can outlive its thread and would go on
// running with no handle left to remove it.
static void ClearHookOfEndedOwner(HookSlot *slot)
{
    HookSlot held = ReadSlot(slot);
    if (!held.handle || !HasThreadEnded(held.ownerThread))
        return;
    if (ExchangeSlot(slot, held, HookSlot()))
        UnhookWindowsHookEx(held.handle);
}

void PlaceHookInSlot(HookSlot *slot, int kind, HOOKPROC procedure, HINSTANCE module, DWORD threadId)
{
    ClearHookOfEndedOwner(slot);
    if (slot->handle)
        return;
    HookSlot placed = {SetWindowsHookExA(kind, procedure, module, threadId), GetCurrentThreadId()};
    if (!placed.handle)
        return;
    if (!ExchangeSlot(slot, HookSlot(), placed))
        UnhookWindowsHookEx(placed.handle); // another request filled the slot first
}

BOOL RemoveHookInSlot(HookSlot *slot)
{
    HookSlot held = ReadSlot(slot);
    while (held.handle && !ExchangeSlot(slot, held, HookSlot()))
        held = ReadSlot(slot);
    if (!held.handle)
        return FALSE;
    return UnhookWindowsHookEx(held.handle);
}
