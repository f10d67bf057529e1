// Loading and unloading quarvo.dll: the shared control block it maps and the
// shared DataSeg slots, seen from this process and from another one. This
// program loads the library itself, so that it controls when.
#include <cstdio>
#include <cstring>
#include <string>
#include "block_holders.h"
#include "check.h"
#include "pe_image.h"
#include "processes.h"
#include "quarvo_pavrik.h"
#include "shared_slots.h"

namespace {
typedef QuarvoSharedData *(WINAPI *BlockGetter)();
typedef UINT_PTR(WINAPI *Installer)(BOOLEAN, DWORD, DWORD);

QuarvoSharedData *BlockOf(HMODULE quarvo)
{
    BlockGetter get = ExportOf<BlockGetter>(quarvo, "GetQuarvoSharedData");
    return get ? get() : nullptr;
}

std::string Hex(const void *data, size_t size)
{
    std::string text;
    char pair[3];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", static_cast<const BYTE *>(data)[i]);
        text += pair;
    }
    return text;
}

std::string Slots(HMODULE quarvo)
{
    volatile QuarvoSlots *slots = QuarvoDataSeg(quarvo);
    return slots ? Hex(const_cast<QuarvoSlots *>(slots), sizeof(QuarvoSlots)) : "no DataSeg";
}

bool AllZero(const void *data, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        if (static_cast<const BYTE *>(data)[i])
            return false;
    return true;
}
} // namespace

// Runs first: no process holds the block yet.
TEST(load_fails_while_the_name_belongs_to_another_kind_of_object)
{
    CHECK(WaitUntilUnheld(QUARVO_SHARED_NAME));
    HANDLE mutex = CreateMutexA(nullptr, FALSE, QUARVO_SHARED_NAME);
    CHECK(mutex != nullptr);
    HMODULE quarvo = LoadLibraryA("quarvo.dll");
    CHECK(quarvo == nullptr);
    if (quarvo)
        FreeLibrary(quarvo);
    CloseHandle(mutex);
}

TEST(first_opener_creates_a_zero_block_and_gets_one_pointer)
{
    CHECK(WaitUntilUnheld(QUARVO_SHARED_NAME));
    HMODULE quarvo = LoadLibraryA("quarvo.dll");
    CHECK(quarvo != nullptr);
    QuarvoSharedData *block = BlockOf(quarvo);
    CHECK(block != nullptr);
    if (!block)
        return;
    CHECK(AllZero(block, sizeof *block));
    CHECK(BlockOf(quarvo) == block);
    FreeLibrary(quarvo);
}

TEST(two_processes_see_the_same_68_bytes)
{
    HMODULE quarvo = LoadLibraryA("quarvo.dll");
    QuarvoSharedData *block = BlockOf(quarvo);
    BYTE *bytes = reinterpret_cast<BYTE *>(block);
    for (size_t i = 0; i < sizeof *block; ++i)
        bytes[i] = static_cast<BYTE>(0xA0 + i);
    std::string printed;
    CHECK_EQ(0UL, RunHelper("load quarvo.dll print-block", &printed));
    CHECK_EQ(Hex(block, sizeof *block) + "\n", printed);

    CHECK_EQ(0UL, RunHelper("load quarvo.dll set-hostmode 4242"));
    CHECK_EQ(4242UL, block->hostMode);
    FreeLibrary(quarvo);
}

// Detach removes no hook and changes neither the slots nor the block.
TEST(detach_elsewhere_leaves_this_view_and_the_slots_unchanged)
{
    HMODULE quarvo = LoadLibraryA("quarvo.dll");
    QuarvoSharedData *block = BlockOf(quarvo);
    Installer install = ExportOf<Installer>(quarvo, "InstallDisableHook");
    block->hostMode = 77;
    block->inputDisabled = 1;
    CHECK_EQ(static_cast<UINT_PTR>(HOOK_MOUSE | HOOK_KEYBOARD),
             install(TRUE, HOOK_MOUSE | HOOK_KEYBOARD, GetCurrentThreadId()));
    std::string slotsBefore = Slots(quarvo);
    std::string blockBefore = Hex(block, sizeof *block);
    const std::string emptySlots(2 * sizeof(QuarvoSlots), '0');
    CHECK(slotsBefore.size() == emptySlots.size() && slotsBefore != emptySlots);

    // The other process sees this process's hooks as placed and places none.
    std::string printed;
    CHECK_EQ(0UL, RunHelper("load quarvo.dll call quarvo.dll InstallDisableHook 1 5 0 free quarvo.dll", &printed));
    CHECK_EQ(std::string("5\n"), printed);

    CHECK_EQ(slotsBefore, Slots(quarvo));
    CHECK_EQ(blockBefore, Hex(block, sizeof *block));
    CHECK_EQ(0u, install(FALSE, 0, 0));
    CHECK_EQ(emptySlots, Slots(quarvo));
    FreeLibrary(quarvo);
}

// Detach closes this process's mapping: once the last holder lets go, the
// next load starts from a zero block again.
TEST(block_is_gone_after_the_last_holder_unloads)
{
    CHECK(WaitUntilUnheld(QUARVO_SHARED_NAME));
    HMODULE quarvo = LoadLibraryA("quarvo.dll");
    BlockOf(quarvo)->hostMode = 310;
    FreeLibrary(quarvo);
    CHECK(WaitUntilUnheld(QUARVO_SHARED_NAME, 0));
    quarvo = LoadLibraryA("quarvo.dll");
    CHECK_EQ(0UL, BlockOf(quarvo)->hostMode);
    FreeLibrary(quarvo);
}
