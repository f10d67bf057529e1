#include "procedure_costs.h"
#include <algorithm>
#include <string>
#include "call_counter.h"
#include "hook_paths.h"
#include "interleave.h"
#include "shared_slots.h"
#include "pe_image.h"
#include "quarvo_pavrik.h"

namespace {
typedef LRESULT(CALLBACK *Procedure)(int, WPARAM, LPARAM);
typedef QuarvoSharedData *(WINAPI *SharedGetter)();
typedef MainControlData *(WINAPI *ControlGetter)();
typedef void(WINAPI *WindowSetter)(HWND, HWND, HWND, HWND);

const double batchMicroseconds = 1500;

// One contender's calls: a slot written before every call (pavrik's latch
// for the subject, a dummy for the baselines), then the procedure.
struct Call {
    Procedure procedure;
    int code;
    WPARAM wParam;
    LPARAM lParam;
    volatile DWORD *slot;
    DWORD slotValue;
};

__attribute__((noinline)) void RunCalls(const Call &call, unsigned count)
{
    for (unsigned i = 0; i < count; ++i) {
        *call.slot = call.slotValue;
        call.procedure(call.code, call.wParam, call.lParam);
    }
}

// Takes every message posted to this thread, so queues never grow.
void DrainPosted()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

HWND HiddenWindow(const RECT &rect)
{
    static ATOM windowClass = 0;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!windowClass) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = instance;
        wc.lpszClassName = "QuarvoBenchSink";
        windowClass = RegisterClassA(&wc);
    }
    return CreateWindowExA(0, "QuarvoBenchSink", "", WS_POPUP, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
}

void SetCtrlHeld(bool held)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

std::string CallList(const std::vector<std::string> &calls)
{
    if (calls.empty())
        return "none";
    std::string text;
    for (size_t i = 0; i < calls.size();) {
        size_t count = 0;
        while (i + count < calls.size() && calls[i + count] == calls[i])
            ++count;
        text += (text.empty() ? "" : ", ") + calls[i] + (count > 1 ? " x" + std::to_string(count) : "");
        i += count;
    }
    return text;
}

struct Bench {
    const Libraries &libraries;
    QuarvoSharedData *shared;
    MainControlData *control;
    volatile DWORD *latch;
    DWORD dummySlot;
};

HMODULE LibraryOf(const Bench &bench, const HookPath &path)
{
    return std::string(path.library) == "quarvo" ? bench.libraries.quarvo : bench.libraries.pavrik;
}

Call SubjectCall(Bench &bench, const HookPath &path)
{
    bool pavrik = LibraryOf(bench, path) == bench.libraries.pavrik;
    return {ExportOf<Procedure>(LibraryOf(bench, path), path.procedure), path.code, path.wParam,
            reinterpret_cast<LPARAM>(path.record), pavrik ? bench.latch : &bench.dummySlot,
            path.latch == LatchHeld ? static_cast<DWORD>(VK_F5) : 0};
}

Call BaselineCall(Bench &bench, const HookPath &path, const char *name)
{
    return {ExportOf<Procedure>(bench.libraries.baselines, name), path.code, path.wParam,
            reinterpret_cast<LPARAM>(path.record), &bench.dummySlot, 0};
}

void Arrange(Bench &bench, const HookPath &path)
{
    bench.shared->inputDisabled = path.inputDisabled;
    SetCtrlHeld(path.ctrlHeld);
}

std::vector<std::string> CountCalls(CallCounter &counter, const Call &call)
{
    ResetCounts(&counter);
    RunCalls(call, 1);
    DrainPosted();
    return CountedCalls(counter);
}

volatile DWORD *LatchSlot(HMODULE pavrik)
{
    volatile PavrikSlots *slots = PavrikDataSeg(pavrik);
    return slots ? &slots->heldFunctionKey : nullptr;
}

Batch BatchOf(const Call &call)
{
    return [call](unsigned count) { RunCalls(call, count); };
}

// The calls each path makes and those its baseline makes, counted with the
// import tables patched; the timing runs afterwards, with them restored.
void CountAllCalls(Bench &bench, std::vector<std::vector<std::string>> *subject,
                   std::vector<std::vector<std::string>> *baseline)
{
    CallCounter quarvo, pavrik, baselines;
    bool counting = StartCounting(bench.libraries.quarvo, &quarvo) &&
                    StartCounting(bench.libraries.pavrik, &pavrik) &&
                    StartCounting(bench.libraries.baselines, &baselines);
    for (const HookPath &path : HookPaths()) {
        Arrange(bench, path);
        CallCounter &own = LibraryOf(bench, path) == bench.libraries.quarvo ? quarvo : pavrik;
        subject->push_back(counting ? CountCalls(own, SubjectCall(bench, path)) : std::vector<std::string>{"?"});
        baseline->push_back(counting ? CountCalls(baselines, BaselineCall(bench, path, path.sameCalls))
                                     : std::vector<std::string>{"?"});
    }
    StopCounting(&quarvo);
    StopCounting(&pavrik);
    StopCounting(&baselines);
}

std::string CallsText(const HookPath &path, const std::vector<std::string> &made,
                      const std::vector<std::string> &baselineMade)
{
    std::string text = CallList(made);
    if (made != path.required)
        text += " (the rules require " + CallList(path.required) + ")";
    if (baselineMade != path.required)
        text += " (its baseline made " + CallList(baselineMade) + ")";
    return text;
}

Row TimePath(Bench &bench, const HookPath &path, const std::vector<std::string> &made,
             const std::vector<std::string> &baselineMade, unsigned rounds)
{
    Arrange(bench, path);
    std::vector<Call> calls = {SubjectCall(bench, path), BaselineCall(bench, path, path.sameCalls)};
    size_t passOnly = 1, returnZero = 1; // the same-calls baseline may be one of the two
    if (std::string(path.sameCalls) != "PassOnly") {
        passOnly = calls.size();
        calls.push_back(BaselineCall(bench, path, "PassOnly"));
    }
    if (std::string(path.sameCalls) != "ReturnZero") {
        returnZero = calls.size();
        calls.push_back(BaselineCall(bench, path, "ReturnZero"));
    }
    std::vector<Contender> contenders;
    for (const Call &call : calls) {
        contenders.push_back({BatchOf(call), CalibrateCount(BatchOf(call), batchMicroseconds)});
        DrainPosted();
    }
    std::vector<std::vector<double>> times = TimeInterleaved(contenders, rounds, DrainPosted);
    Comparison same = Compare(times[0], times[1]);
    Comparison pass = Compare(times[0], times[passOnly]);
    Comparison zero = Compare(times[0], times[returnZero]);

    std::string goal = GoalText("<= 1.05 to same calls", same.ratio <= 1.05) + "; " +
                       GoalText("no call beyond the rules", made == path.required);
    if (path.passOn)
        goal += "; " + GoalText("<= 1.10 to pass-only", pass.ratio <= 1.10);
    return {std::string(path.library) + ".dll " + path.procedure + ": " + path.event,
            CallsText(path, made, baselineMade),
            Duration(same.subject),
            TimedRatio(same, std::string("same calls, ") + path.sameCalls),
            TimedRatio(pass, "pass-only"),
            TimedRatio(zero, "return-0"),
            goal};
}
} // namespace

std::vector<Row> ProcedureCostRows(const Libraries &libraries, unsigned rounds)
{
    Bench bench = {libraries, ExportOf<SharedGetter>(libraries.quarvo, "GetQuarvoSharedData")(),
                   ExportOf<ControlGetter>(libraries.pavrik, "GetMainControlData")(), LatchSlot(libraries.pavrik), 0};
    WindowSetter setBaselineWindows = ExportOf<WindowSetter>(libraries.baselines, "SetBaselineWindows");
    if (!bench.shared || !bench.control || !bench.latch || !setBaselineWindows)
        return {{"hook procedures", "the libraries' blocks or the baselines are out of reach", "", "", "", "", ""}};

    HWND guard = HiddenWindow(hookPathGuardRect);
    HWND sink = HiddenWindow({600, 100, 700, 200});
    *bench.shared = QuarvoSharedData();
    bench.shared->guardWindow = guard;
    bench.shared->wheelWindow = sink;
    bench.shared->alertWindow = sink;
    bench.control->mainWindow = sink;
    setBaselineWindows(guard, sink, sink, sink);

    std::vector<std::vector<std::string>> made, baselineMade;
    CountAllCalls(bench, &made, &baselineMade);
    std::vector<Row> rows;
    for (size_t i = 0; i < HookPaths().size(); ++i)
        rows.push_back(TimePath(bench, HookPaths()[i], made[i], baselineMade[i], rounds));

    SetCtrlHeld(false);
    *bench.shared = QuarvoSharedData();
    bench.control->mainWindow = nullptr;
    *bench.latch = 0;
    DestroyWindow(guard);
    DestroyWindow(sink);
    DrainPosted();
    return rows;
}
