// "Another process" for the tests. Runs its arguments as a script of steps:
//   load DLL              LoadLibraryA (exit code 2 when the load fails)
//   free DLL              FreeLibrary
//   print-block           prints this process's view of the shared control block
//   set-hostmode N        writes hostMode through GetQuarvoSharedData
//   window TITLE REPORT X Y W H
//                         a focused-to-be window that reports every key
//                         down and up, button and wheel message to window
//                         REPORT (hex)
//   hidden-window TITLE   a window of the same kind that is never shown, so
//                         creating it changes no activation (it raises no
//                         foreground event); it reports nothing
//   pump MS               pumps messages for MS milliseconds, or until the
//                         window above is closed
//   call DLL EXPORT [A [B [C]]]
//                         calls a stdcall export with the numbers given as its
//                         arguments (none to three), prints the result
//   notify EVENT...       raises window events (NotifyWinEvent) on the window
//   print-loaded DLL      prints 1 when DLL is loaded in this process, else 0
//   print-thread-messages prints "MESSAGE WPARAM LPARAM" (decimal) for each
//                         message queued for this thread without a window
//   signal NAME / wait NAME   set / wait for a named event (30 s at most)
//   stamp                 from now on every report of the window is followed
//                         by a WM_HELPER_STAMP with the time it arrived
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "helper_protocol.h"
#include "pe_image.h"
#include "quarvo_pavrik.h"

static HWND reportWindow = nullptr;
static HWND targetWindow = nullptr;
static bool stampReports = false;

static bool IsReported(UINT message)
{
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEMOVE) ||
           (message >= WM_NCLBUTTONDOWN && message <= WM_NCXBUTTONDBLCLK);
}

static LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LARGE_INTEGER arrival;
    QueryPerformanceCounter(&arrival); // first, so the posts below do not delay it
    if (IsReported(message) && reportWindow) {
        PostMessageA(reportWindow, WM_HELPER_REPORT, message, wParam);
        if (stampReports)
            PostMessageA(reportWindow, WM_HELPER_STAMP, MAKEWPARAM(message, wParam), arrival.LowPart);
    }
    if (message == WM_DESTROY)
        targetWindow = nullptr;
    if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP || message == WM_SYSCHAR)
        return 0; // keep Alt and F10 from starting menu loops
    return DefWindowProcA(window, message, wParam, lParam);
}

static void CreateTarget(const char *title, HWND report, int x, int y, int width, int height, DWORD visible)
{
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = "QuarvoHelperTarget";
    RegisterClassA(&wc);
    reportWindow = report;
    targetWindow = CreateWindowExA(0, wc.lpszClassName, title, WS_POPUP | visible, x, y, width, height, nullptr,
                                   nullptr, wc.hInstance, nullptr);
}

static void Pump(DWORD milliseconds)
{
    bool hadWindow = targetWindow != nullptr;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds && !(hadWindow && !targetWindow)) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

static QuarvoSharedData *Block()
{
    typedef QuarvoSharedData *(WINAPI * Getter)();
    Getter get = ExportOf<Getter>(GetModuleHandleA("quarvo.dll"), "GetQuarvoSharedData");
    return get ? get() : nullptr;
}

static unsigned long Number(const char *text)
{
    return std::strtoul(text, nullptr, 0);
}

static bool IsArgument(const char *text)
{
    return (text[0] >= '0' && text[0] <= '9') || std::strcmp(text, "thread") == 0;
}

static DWORD Argument(const char *text)
{
    return std::strcmp(text, "thread") == 0 ? GetCurrentThreadId() : Number(text);
}

// The argument count decides the stdcall signature: the callee removes them.
static UINT_PTR CallExport(FARPROC function, const DWORD *a, int count)
{
    void *address = reinterpret_cast<void *>(function);
    switch (count) {
    case 0:
        return reinterpret_cast<UINT_PTR(WINAPI *)()>(address)();
    case 1:
        return reinterpret_cast<UINT_PTR(WINAPI *)(DWORD)>(address)(a[0]);
    case 2:
        return reinterpret_cast<UINT_PTR(WINAPI *)(DWORD, DWORD)>(address)(a[0], a[1]);
    default:
        return reinterpret_cast<UINT_PTR(WINAPI *)(DWORD, DWORD, DWORD)>(address)(a[0], a[1], a[2]);
    }
}

struct ExportCall {
    FARPROC function;
    const char *arguments[3];
    int count;
    UINT_PTR result;
};

static DWORD WINAPI RunExportCall(void *parameter)
{
    ExportCall *call = static_cast<ExportCall *>(parameter);
    DWORD arguments[3] = {};
    for (int a = 0; a < call->count; ++a)
        arguments[a] = Argument(call->arguments[a]);
    call->result = CallExport(call->function, arguments, call->count);
    return 0;
}

int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        std::string step = argv[i];
        auto next = [&]() -> const char * { return i + 1 < argc ? argv[++i] : ""; };
        if (step == "load") {
            if (!LoadLibraryA(next()))
                return 2;
        } else if (step == "free") {
            FreeLibrary(GetModuleHandleA(next()));
        } else if (step == "print-block") {
            const BYTE *bytes = reinterpret_cast<const BYTE *>(Block());
            if (!bytes)
                return 3;
            for (size_t b = 0; b < sizeof(QuarvoSharedData); ++b)
                std::printf("%02x", bytes[b]);
            std::printf("\n");
        } else if (step == "set-hostmode") {
            if (!Block())
                return 3;
            Block()->hostMode = Number(next());
        } else if (step == "window") {
            const char *title = next();
            HWND report = reinterpret_cast<HWND>(std::strtoul(next(), nullptr, 16));
            int x = Number(next()), y = Number(next()), width = Number(next()), height = Number(next());
            CreateTarget(title, report, x, y, width, height, WS_VISIBLE);
        } else if (step == "hidden-window") {
            CreateTarget(next(), nullptr, 0, 0, 1, 1, 0);
        } else if (step == "pump") {
            Pump(Number(next()));
        } else if (step == "call" || step == "thread-call") {
            const char *dll = next();
            const char *name = next();
            ExportCall call = {ExportOf<FARPROC>(GetModuleHandleA(dll), name), {}, 0, 0};
            if (!call.function)
                return 4;
            while (call.count < 3 && i + 1 < argc && IsArgument(argv[i + 1]))
                call.arguments[call.count++] = next();
            if (step == "call") {
                RunExportCall(&call);
            } else {
                HANDLE thread = CreateThread(nullptr, 0, RunExportCall, &call, 0, nullptr);
                WaitForSingleObject(thread, INFINITE);
                CloseHandle(thread);
            }
            std::printf("%lu\n", static_cast<unsigned long>(call.result));
        } else if (step == "notify") {
            while (i + 1 < argc && std::strspn(argv[i + 1], "0123456789") == std::strlen(argv[i + 1]))
                NotifyWinEvent(Number(next()), targetWindow, OBJID_WINDOW, CHILDID_SELF);
        } else if (step == "print-loaded") {
            std::printf("%d\n", GetModuleHandleA(next()) != nullptr);
        } else if (step == "print-thread-messages") {
            MSG msg;
            while (PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE))
                std::printf("%u %lu %ld\n", msg.message, static_cast<unsigned long>(msg.wParam),
                            static_cast<long>(msg.lParam));
        } else if (step == "signal") {
            HANDLE event = CreateEventA(nullptr, TRUE, FALSE, next());
            SetEvent(event);
        } else if (step == "stamp") {
            stampReports = true;
        } else if (step == "wait") {
            HANDLE event = CreateEventA(nullptr, TRUE, FALSE, next());
            WaitForSingleObject(event, 30000);
        } else {
            std::printf("unknown step %s\n", step.c_str());
            return 5;
        }
        std::fflush(stdout);
    }
    return 0;
}
