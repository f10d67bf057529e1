// pavrik's blocks when pavrik is the first to open them and when it cannot
// map them. This program loads neither library when it starts, so that it
// holds no block of its own; its tests load pavrik where they need it.
#include <string>
#include "check.h"
#include "key_session.h"
#include "pe_image.h"
#include "processes.h"
#include "quarvo_pavrik.h"

namespace {
// A block starts afresh only when no process holds it; the programs and
// helpers of earlier tests may still be on their way out.
bool WaitUntilNobodyHolds(const char *name)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 15000; Sleep(50)) {
        HANDLE held = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
        if (!held)
            return true;
        CloseHandle(held);
    }
    ReportFailure(__FILE__, __LINE__, std::string("a process still holds \"") + name + "\"; end it and run again");
    return false;
}

// This process's view of a block another process created.
struct OpenedBlock {
    HANDLE mapping = nullptr;
    BYTE *view = nullptr;
    explicit OpenedBlock(const char *name)
    {
        mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name);
        if (mapping)
            view = static_cast<BYTE *>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    }
    ~OpenedBlock()
    {
        if (view)
            UnmapViewOfFile(view);
        if (mapping)
            CloseHandle(mapping);
    }
};

std::string Hex(const BYTE *bytes, size_t size)
{
    std::string text;
    char pair[3];
    for (size_t i = 0; i < size; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
        text += pair;
    }
    return text;
}

std::string Trimmed(const std::string &text)
{
    size_t end = text.find_last_not_of("\r\n ");
    return end == std::string::npos ? "" : text.substr(0, end + 1);
}
} // namespace

// The helper loads pavrik, waits while this program looks at the blocks and
// writes hostMode as a host would, then loads quarvo and prints its view.
TEST(pavrik_loaded_first_creates_the_shared_block_zero_filled_and_quarvo_maps_it)
{
    CHECK(!GetModuleHandleA("quarvo.dll") && !GetModuleHandleA("pavrik.dll"));
    if (!WaitUntilNobodyHolds(QUARVO_SHARED_NAME) || !WaitUntilNobodyHolds(PAVRIK_CONTROL_NAME))
        return;
    HANDLE loaded = CreateEventA(nullptr, TRUE, FALSE, "pavrik-block-test-loaded");
    HANDLE looked = CreateEventA(nullptr, TRUE, FALSE, "pavrik-block-test-looked");
    Child helper = StartHelper("load pavrik.dll signal pavrik-block-test-loaded wait pavrik-block-test-looked "
                               "load quarvo.dll print-block");
    CHECK(WaitForSingleObject(loaded, 20000) == WAIT_OBJECT_0);

    const BYTE zeros[sizeof(QuarvoSharedData)] = {};
    std::string written;
    {
        OpenedBlock shared(QUARVO_SHARED_NAME), control(PAVRIK_CONTROL_NAME);
        CHECK(shared.view && control.view);
        if (shared.view && control.view) {
            CHECK_EQ(Hex(zeros, sizeof(QuarvoSharedData)), Hex(shared.view, sizeof(QuarvoSharedData)));
            CHECK_EQ(Hex(zeros, sizeof(MainControlData)), Hex(control.view, sizeof(MainControlData)));
            reinterpret_cast<QuarvoSharedData *>(shared.view)->hostMode = 0x01020304;
            written = Hex(shared.view, sizeof(QuarvoSharedData));
        }
        SetEvent(looked);
        std::string output;
        CHECK_EQ(0UL, FinishChild(helper, 20000, &output));
        CHECK_EQ(written, Trimmed(output));
    }
    CloseHandle(loaded);
    CloseHandle(looked);
}

// An event squats on one block's name, so pavrik cannot map that block. It
// loads all the same, places and removes its hook on request, and the hook
// passes every key on; where the shared control block is mapped, the flag
// is still written.
TEST(without_either_block_pavrik_loads_and_passes_every_key)
{
    typedef MainControlData *(WINAPI * ControlGetter)(void);
    for (const char *blocked : {PAVRIK_CONTROL_NAME, QUARVO_SHARED_NAME}) {
        FailureContext context(std::string("\"") + blocked + "\" cannot be mapped");
        if (!WaitUntilNobodyHolds(blocked))
            continue;
        HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, blocked);
        HMODULE pavrik = LoadLibraryA("pavrik.dll");
        CHECK(pavrik != nullptr);
        if (!pavrik) {
            CloseHandle(squatter);
            continue;
        }
        bool controlMissing = std::string(blocked) == PAVRIK_CONTROL_NAME;
        CHECK_EQ(controlMissing, ExportOf<ControlGetter>(pavrik, "GetMainControlData")() == nullptr);
        {
            KeySession session; // sets mainWindow where there is a main-control block
            if (session.Ready()) {
                CHECK(session.PavrikHook() != 0);
                if (controlMissing) {
                    OpenedBlock shared(QUARVO_SHARED_NAME);
                    CHECK(shared.view && reinterpret_cast<QuarvoSharedData *>(shared.view)->skipLowLevelKeyboard == 1);
                }
                Transcript seen = session.Type("press F5, down F6, hold 1, up F6, press a");
                CHECK_EQ(std::string("F5 down passed, F5 up passed, F6 down passed (repeated), F6 up passed, "
                                     "a down passed, a up passed"),
                         seen.hook);
                CHECK_EQ(std::string("F5 down, F5 up, F6 down (repeated), F6 up, a down, a up"), seen.program);
            }
        }
        CHECK(PavrikDataSeg()->fkeyHook.handle == nullptr);
        FreeLibrary(pavrik);
        CloseHandle(squatter);
    }
}
