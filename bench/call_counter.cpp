#include "call_counter.h"
#include <algorithm>
#include <cstring>

struct CountingThunk {
    BYTE code[12]; // inc dword ptr [count]; jmp dword ptr [target]
    volatile DWORD count;
    DWORD target;
};
static_assert(sizeof(void *) == 4, "the thunks are 32-bit code");

static void WriteThunkCode(CountingThunk *thunk)
{
    const void *count = const_cast<DWORD *>(&thunk->count);
    const void *target = &thunk->target;
    thunk->code[0] = 0xFF; // inc r/m32, absolute address
    thunk->code[1] = 0x05;
    std::memcpy(thunk->code + 2, &count, 4);
    thunk->code[6] = 0xFF; // jmp r/m32, absolute address
    thunk->code[7] = 0x25;
    std::memcpy(thunk->code + 8, &target, 4);
}

static bool WriteSlot(DWORD *slot, DWORD value)
{
    DWORD protection = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection))
        return false;
    *slot = value;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
    return true;
}

bool StartCounting(HMODULE module, CallCounter *counter)
{
    counter->slots = ImportSlots(module);
    size_t size = counter->slots.size() * sizeof(CountingThunk);
    counter->thunks = static_cast<CountingThunk *>(
        VirtualAlloc(nullptr, size ? size : 1, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    if (!counter->thunks)
        return false;
    for (size_t i = 0; i < counter->slots.size(); ++i) {
        CountingThunk &thunk = counter->thunks[i];
        WriteThunkCode(&thunk);
        thunk.count = 0;
        thunk.target = *counter->slots[i].address;
        counter->originals.push_back(thunk.target);
    }
    FlushInstructionCache(GetCurrentProcess(), counter->thunks, size);
    for (size_t i = 0; i < counter->slots.size(); ++i)
        if (!WriteSlot(counter->slots[i].address, reinterpret_cast<DWORD>(&counter->thunks[i])))
            return false;
    return true;
}

void StopCounting(CallCounter *counter)
{
    for (size_t i = 0; i < counter->originals.size(); ++i)
        WriteSlot(counter->slots[i].address, counter->originals[i]);
    if (counter->thunks)
        VirtualFree(counter->thunks, 0, MEM_RELEASE);
    *counter = CallCounter();
}

void ResetCounts(CallCounter *counter)
{
    for (size_t i = 0; i < counter->slots.size(); ++i)
        counter->thunks[i].count = 0;
}

std::vector<std::string> CountedCalls(const CallCounter &counter)
{
    std::vector<std::string> calls;
    for (size_t i = 0; i < counter.slots.size(); ++i)
        for (DWORD n = 0; n < counter.thunks[i].count; ++n)
            calls.push_back(counter.slots[i].function);
    std::sort(calls.begin(), calls.end());
    return calls;
}
