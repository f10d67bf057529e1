/*
 * quarvo_pavrik.h - the host's interface to quarvo.dll (input guard) and
 * pavrik.dll (function-key capture). Plain C, usable from C89 and C++98 on;
 * it uses no compiler extensions, so that Microsoft's compiler can take it
 * as MinGW-w64 does (only MinGW-w64 is exercised). Both libraries are built
 * from these same definitions.
 *
 * Both DLLs are 32-bit: so is every host. Every export uses the WINAPI
 * (stdcall) convention and is exported under its plain, undecorated name, so
 * a host may link the import libraries or look the exports up with
 * GetProcAddress (the *Function types below fit both). Boolean arguments are
 * one byte: only the low byte of the argument slot is examined.
 *
 * Every notification is posted (PostMessageA), never sent: no hook procedure
 * ever waits for the host.
 *
 * What a host does, in this order:
 *   1. Loads both libraries and writes its fields of both blocks: the windows
 *      and hostMode through GetQuarvoSharedData(), mainWindow through
 *      GetMainControlData().
 *   2. Starts window-event forwarding: InitQuarvoDll(TRUE, eventWindow).
 *   3. On a thread that does nothing but pump its message queue (the
 *      low-level hook procedures run on the thread that places them):
 *      InitKBDDll(TRUE) first, then InstallDisableHook(TRUE, flags, 0).
 *      Capture must come first: it sets skipLowLevelKeyboard, so quarvo
 *      leaves the low-level keyboard hook to pavrik; quarvo's own one would
 *      end the hook chain for every key before pavrik could see it.
 *   4. Switches disable mode on and off by writing inputDisabled, at any
 *      moment.
 *   5. Switches off in the reverse order: InstallDisableHook(FALSE, 0, 0) and
 *      InitKBDDll(FALSE) on the hook thread, then InitQuarvoDll(FALSE, 0) on
 *      the thread that enabled it, and only then unloads the libraries:
 *      unloading removes no hook and unregisters no event hook.
 */
#ifndef QUARVO_PAVRIK_H
#define QUARVO_PAVRIK_H

#if !defined(_WIN32) || defined(_WIN64)
#error "quarvo.dll and pavrik.dll are 32-bit: build the host as a 32-bit Windows program"
#endif

#include <stddef.h>
#include <windows.h>

/* A compile-time check in every language mode (Microsoft's C++ compiler has
 * static_assert but reports an old __cplusplus unless told otherwise). */
#if defined(__cplusplus) && (__cplusplus >= 201103L || defined(_MSC_VER))
#define QP_STATIC_ASSERT(condition, text) static_assert(condition, text)
#elif !defined(__cplusplus) && defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define QP_STATIC_ASSERT(condition, text) _Static_assert(condition, text)
#else
#define QP_STATIC_ASSERT_NAME2(line) qp_static_assert_##line
#define QP_STATIC_ASSERT_NAME(line) QP_STATIC_ASSERT_NAME2(line)
#define QP_STATIC_ASSERT(condition, text) \
    typedef char QP_STATIC_ASSERT_NAME(__LINE__)[(condition) ? 1 : -1]
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Shared control block "QuarvoShareMem_1" (68 bytes) -------------------
 * Created zero-filled by the first process that opens it (the host, quarvo or
 * pavrik); every later opener sees the same bytes, and the block is gone once
 * the last holder closes it. The host writes every field except
 * skipLowLevelKeyboard, which pavrik writes. The hook procedures read the
 * fields afresh at every event and never write the block, so the host may
 * change a field at any moment. Flags are tested for zero against nonzero
 * only. Neither library touches the reserved bytes. */
#define QUARVO_SHARED_NAME "QuarvoShareMem_1"

typedef struct QuarvoSharedData {
    BYTE skipLowLevelMouse;    /* nonzero: InstallDisableHook places no WH_MOUSE_LL hook */
    BYTE skipLowLevelKeyboard; /* written by pavrik: 1 while F-key capture is requested */
    BYTE inputDisabled;        /* nonzero: disable mode is on */
    BYTE reserved1[5];
    DWORD hostMode;            /* QUARVO_MUTED_HOST_MODE mutes window events while inputDisabled */
    BYTE reserved2[4];
    HWND guardWindow;          /* clicks inside its screen rectangle are allowed; 0: mouse guard off */
    HWND wheelWindow;          /* receives the re-posted WM_MOUSEWHEEL */
    HWND alertWindow;          /* receives WM_GUARD_ALERT; 0: no alert is posted */
    BYTE reserved3[40];
} QuarvoSharedData;

QP_STATIC_ASSERT(sizeof(QuarvoSharedData) == 68, "QuarvoSharedData is 68 bytes");
QP_STATIC_ASSERT(offsetof(QuarvoSharedData, skipLowLevelMouse) == 0, "skipLowLevelMouse at 0");
QP_STATIC_ASSERT(offsetof(QuarvoSharedData, skipLowLevelKeyboard) == 1, "skipLowLevelKeyboard at 1");
QP_STATIC_ASSERT(offsetof(QuarvoSharedData, inputDisabled) == 2, "inputDisabled at 2");
QP_STATIC_ASSERT(offsetof(QuarvoSharedData, hostMode) == 8, "hostMode at 8");
QP_STATIC_ASSERT(offsetof(QuarvoSharedData, guardWindow) == 16, "guardWindow at 16");
QP_STATIC_ASSERT(offsetof(QuarvoSharedData, wheelWindow) == 20, "wheelWindow at 20");
QP_STATIC_ASSERT(offsetof(QuarvoSharedData, alertWindow) == 24, "alertWindow at 24");
QP_STATIC_ASSERT(offsetof(QuarvoSharedData, reserved3) == 28, "reserved tail at 28");

/* hostMode value that, together with inputDisabled, mutes window events. */
#define QUARVO_MUTED_HOST_MODE 310

/* ---- Main-control block "ZARVEN1" (20 bytes) ------------------------------
 * Created zero-filled like the block above; only the host writes it. */
#define PAVRIK_CONTROL_NAME "ZARVEN1"

typedef struct MainControlData {
    HWND mainWindow;   /* receives WM_FKEY_COMMAND; 0: function-key capture off */
    BYTE reserved[16];
} MainControlData;

QP_STATIC_ASSERT(sizeof(MainControlData) == 20, "MainControlData is 20 bytes");
QP_STATIC_ASSERT(offsetof(MainControlData, mainWindow) == 0, "mainWindow at 0");

/* ---- Posted messages ------------------------------------------------------ */

/* To alertWindow: a click outside the guard window or a disallowed key while
 * disable mode is on. wParam 0, lParam 0. */
#define WM_GUARD_ALERT (WM_USER + 1003) /* 2027 */

/* To the event window: wParam the event (EVENT_SYSTEM_FOREGROUND 3,
 * EVENT_SYSTEM_MENUSTART 4, EVENT_SYSTEM_MENUEND 5, EVENT_SYSTEM_SWITCHSTART
 * 20 or EVENT_SYSTEM_SWITCHEND 21), lParam 0. */
#define WM_GUARD_WINEVENT (WM_USER + 1300) /* 2324 */

/* To mainWindow: wParam FKEY_COMMAND_WPARAM, lParam the virtual-key code,
 * VK_F1 (0x70) to VK_F12 (0x7B). What 5 means is the host's affair. */
#define WM_FKEY_COMMAND (WM_USER + 1200) /* 2224 */
#define FKEY_COMMAND_WPARAM 5

/* Wheel rotation in disable mode is re-posted to wheelWindow as
 * WM_MOUSEWHEEL, one notch per message whatever the rotation: wParam one of
 * these (the delta +120 or -120 in the high word, no key-state bits), lParam
 * the pointer's screen position, x in the low word and y in the high word. */
#define QUARVO_WHEEL_UP_WPARAM 0x00780000UL
#define QUARVO_WHEEL_DOWN_WPARAM 0xFF880000UL

/* ---- InstallDisableHook request flags (other bits are ignored) ------------ */
#define HOOK_MOUSE       0x1 /* WH_MOUSE, MouDisableProc, threadId or desktop (0) */
#define HOOK_MOUSE_LL    0x2 /* WH_MOUSE_LL, MouDisableProcL, desktop, NT family only */
#define HOOK_KEYBOARD    0x4 /* WH_KEYBOARD, KbdDisableProc, threadId or desktop (0) */
#define HOOK_KEYBOARD_LL 0x8 /* WH_KEYBOARD_LL, KbdDisableProcL, desktop, NT family only */

/* ---- Hook ownership (both libraries) ---------------------------------------
 * Each input hook belongs to the thread that placed it. While that thread
 * lives, its hook is shared: a request from any process finds it placed and
 * places nothing (InitKBDDll returns its handle), and a removal from any
 * process removes it for everyone. Once that thread has ended (the host
 * crashed or was killed, or the thread simply returned) without removing its
 * hooks, the next request to place the same hook first removes the one left
 * behind and then places a new one, owned by the requesting thread. Two
 * requests racing for the same hook leave exactly one placed. Where the
 * system cannot tell whether the owner lives (the older Windows family, or
 * no right to look), the hook counts as owned.
 * Place and remove the hooks from a thread that lives as long as the hooks
 * should: a dedicated thread that only pumps its queue is the safest. */

/* ---- quarvo.dll exports ----------------------------------------------------- */

/* This process's view of "QuarvoShareMem_1"; never null once quarvo is loaded
 * (the load fails when the block cannot be mapped). */
typedef QuarvoSharedData *WINAPI GetQuarvoSharedDataFunction(void);
GetQuarvoSharedDataFunction GetQuarvoSharedData;

/* install != 0: places each hook the flags ask for that is not placed yet
 * (low-level ones only on the NT family and only while the matching skip flag
 * is clear at the time of the request; setting a skip flag later removes
 * nothing). Returns the HOOK_* bits of the hooks placed after the request.
 * install == 0: removes every placed hook; flags and threadId are ignored.
 * Returns the result of unhooking the low-level keyboard hook (nonzero on
 * success), or 0 when that hook was not placed.
 * Repeated requests are harmless. Hook handles are shared by every process
 * that has quarvo loaded: another process's removal removes them for all
 * (see "Hook ownership" above). The low-level procedures run on the thread
 * that placed them, which must keep pumping messages. */
typedef UINT_PTR WINAPI InstallDisableHookFunction(BOOLEAN install, DWORD flags, DWORD threadId);
InstallDisableHookFunction InstallDisableHook;

/* Hook procedures placed by InstallDisableHook. While inputDisabled is set:
 * - mouse: a press or release of the left or right button, or a release of
 *   the middle or an X button (client or non-client area), whose point lies
 *   outside the screen rectangle of guardWindow posts WM_GUARD_ALERT; middle
 *   and X presses and double-clicks never alert. A point on the right or
 *   bottom edge counts as outside (PtInRect). When the rectangle of
 *   guardWindow cannot be obtained (stale handle), the click counts as
 *   outside. Wheel rotation is taken from its window and re-posted to
 *   wheelWindow (discarded when wheelWindow is not a window), wherever the
 *   pointer is. With guardWindow 0 the mouse is not guarded at all.
 * - keyboard: every key except F1..F12, Enter and the four arrows posts
 *   WM_GUARD_ALERT, for the press, each auto-repeat and the release.
 * Clicks and keys are reported, not blocked. No alert is posted while
 * alertWindow is 0. Mouse moves are always passed on down the hook chain;
 * the low-level procedures end the chain for everything else, in or out of
 * disable mode, and never read the block. */
LRESULT CALLBACK MouDisableProc(int code, WPARAM message, LPARAM record);
LRESULT CALLBACK MouDisableProcL(int code, WPARAM message, LPARAM record);
LRESULT CALLBACK KbdDisableProc(int code, WPARAM key, LPARAM flags);
LRESULT CALLBACK KbdDisableProcL(int code, WPARAM message, LPARAM record);

/* Window-event forwarding. While it is on, the foreground change (3), menu
 * start (4) and end (5) and task-switch start (20) and end (21) events raised
 * in any process reach the event window as WM_GUARD_WINEVENT, wParam the
 * event, lParam 0, one message per event. Nothing is forwarded while
 * inputDisabled is set and hostMode is QUARVO_MUTED_HOST_MODE (310); the host
 * may change both at any moment, and each event follows the values it finds.
 * Forwarding is independent of the hooks of InstallDisableHook.
 *
 * enable != 0: makes `window` the event window (one for every process that
 * has quarvo loaded) and registers one in-context window-event hook for
 * events 3 to 23, all processes and threads; the system brings quarvo into
 * each process that raises such an event and calls WinEventProc there.
 * Returns the hook handle, or 0 when the registration was refused (the event
 * window is set all the same).
 *   - window 0: events are dropped, nothing is posted (not even a thread
 *     message to the raising thread), until a later enable names a window.
 *   - A second enable without a disable in between: the registration this
 *     process holds from the earlier enable is unregistered and a new one
 *     made, so the process holds exactly one and each event is forwarded
 *     once, to the new window; the result is the new handle. An earlier
 *     registration the platform refuses to unregister is taken to be gone
 *     already (its thread ended, or it was unhooked elsewhere): its handle is
 *     dropped and the new registration made all the same.
 * enable == 0: clears the event window (forwarding stops at once, in every
 * process), then unregisters this process's registration; `window` is
 * ignored. Returns the outcome of the unhook (nonzero on success), or 0 when
 * this process holds no registration. A refused unhook keeps the handle, so
 * a later disable tries again.
 * The registration belongs to the calling process and thread: enable and
 * disable from one thread (the platform may refuse an unhook from another
 * thread, and may drop the registration when its thread ends). Unloading
 * quarvo does not unregister it: disable before unloading. */
typedef UINT_PTR WINAPI InitQuarvoDllFunction(BOOLEAN enable, HWND window);
InitQuarvoDllFunction InitQuarvoDll;

/* The window-event procedure registered by InitQuarvoDll; only `event` is
 * used. */
void CALLBACK WinEventProc(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG idObject, LONG idChild,
                           DWORD idEventThread, DWORD dwmsEventTime);

/* ---- pavrik.dll exports ----------------------------------------------------
 * pavrik maps both blocks when it loads ("QuarvoShareMem_1" by name; it never
 * loads quarvo). It loads even when a block cannot be mapped; without either
 * block function-key capture stays off: the hook passes every key on, and
 * InitKBDDll still places and removes the hook but writes no
 * skipLowLevelKeyboard when it has no view of the shared control block.
 * Unloading removes no hook and leaves skipLowLevelKeyboard as it is: call
 * InitKBDDll(FALSE) first. */

/* This process's view of "ZARVEN1", the same pointer on every call; null
 * when the block could not be mapped. */
typedef MainControlData *WINAPI GetMainControlDataFunction(void);
GetMainControlDataFunction GetMainControlData;

/* enable != 0: places the desktop-wide low-level keyboard hook unless one is
 * placed already (NT family only) and sets skipLowLevelKeyboard to 1, so that
 * quarvo leaves the low-level keyboard hook to pavrik. Returns the hook
 * handle (0 when refused, and always 0 outside the NT family).
 * enable == 0: removes the hook and sets skipLowLevelKeyboard to 0. Returns
 * the result of the removal (nonzero on success), or 0 when no hook was
 * placed.
 * The handle is shared by every process that has pavrik loaded: another
 * process's enable returns it, and its disable removes it for everyone (see
 * "Hook ownership" above). The hook procedure runs on the thread that placed
 * the hook, which must keep pumping messages. */
typedef UINT_PTR WINAPI InitKBDDllFunction(BOOLEAN enable);
InitKBDDllFunction InitKBDDll;

/* The hook procedure. While mainWindow is nonzero and disable mode is off, a
 * physical press of F1..F12 with no Ctrl, Shift or Alt held is discarded, and
 * the first such press since the last release of any key posts
 * WM_FKEY_COMMAND (FKEY_COMMAND_WPARAM, the key) to mainWindow; auto-repeats
 * and other function keys pressed meanwhile post nothing. The release of such
 * a key is discarded too. Every other key, and keys injected by programs
 * (LLKHF_INJECTED), are passed on; with mainWindow 0 every key is passed on.
 * In disable mode every physical key goes straight to its window (later hooks
 * do not see it) and nothing is posted. */
LRESULT CALLBACK LowLevelKeyboardProc5(int code, WPARAM message, LPARAM record);

#ifdef __cplusplus
}
#endif

#endif /* QUARVO_PAVRIK_H */
