// The DLL files themselves: exports, calling convention, imports, versions.
#include <algorithm>
#include <cctype>
#include "check.h"
#include "pe_image.h"
#include "processes.h"
#include "quarvo_pavrik.h"
#include "stdcall_probe.h"

namespace {
// One export and the arguments of a call that changes nothing, to see the
// export remove its own arguments from the stack.
struct ExportFacts {
    std::string name;
    std::vector<DWORD> harmlessArguments;
};

struct LibraryFacts {
    const char *file;
    std::vector<ExportFacts> exports;
    DWORD fileVersionMs, fileVersionLs, productVersionMs, productVersionLs;
};

const DWORD PASS_ON = static_cast<DWORD>(-1); // a negative hook code: the procedure only passes the event on

const LibraryFacts libraries[] = {
    {"quarvo.dll",
     {{"GetQuarvoSharedData", {}},
      {"InstallDisableHook", {0, 0, 0}}, // removes hooks, of which there are none here
      {"KbdDisableProc", {PASS_ON, 0, 0}},
      {"KbdDisableProcL", {PASS_ON, 0, 0}},
      {"MouDisableProc", {PASS_ON, 0, 0}},
      {"MouDisableProcL", {PASS_ON, 0, 0}},
      {"InitQuarvoDll", {0, 0}},                // disables forwarding, which is off here
      {"WinEventProc", {0, 0, 0, 0, 0, 0, 0}}}, // event 0 is never forwarded
     MAKELONG(1, 2), MAKELONG(0, 0), MAKELONG(0, 2), MAKELONG(0, 0)},
    {"pavrik.dll",
     {{"GetMainControlData", {}},
      {"InitKBDDll", {0}}, // removes a hook, of which there is none here
      {"LowLevelKeyboardProc5", {PASS_ON, 0, 0}}},
     MAKELONG(1, 1), MAKELONG(0, 0), MAKELONG(0, 1), MAKELONG(1, 0)},
};

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}
} // namespace

TEST(exports_are_exactly_the_documented_plain_names)
{
    for (const LibraryFacts &library : libraries) {
        FailureContext context(library.file);
        HMODULE module = LoadLibraryA(library.file);
        CHECK(module != nullptr);
        if (!module)
            continue;
        std::vector<std::string> names = ExportedNames(module);
        std::vector<std::string> expected;
        for (const ExportFacts &facts : library.exports)
            expected.push_back(facts.name);
        std::sort(names.begin(), names.end());
        std::sort(expected.begin(), expected.end());
        CHECK(names == expected);
        for (const std::string &name : expected) {
            FailureContext exportContext(name);
            CHECK(GetProcAddress(module, name.c_str()) != nullptr);
        }
        FreeLibrary(module);
    }
}

static DWORD __cdecl CdeclSeven(DWORD a, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD g)
{
    return a + g;
}

static DWORD WINAPI StdcallSeven(DWORD a, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD g)
{
    return a + g;
}

TEST(stack_probe_tells_the_conventions_apart)
{
    const DWORD arguments[7] = {1, 2, 3, 4, 5, 6, 7};
    CHECK_EQ(28UL, StackLeftAfterCall(reinterpret_cast<FARPROC>(reinterpret_cast<void *>(CdeclSeven)), arguments, 7));
    CHECK_EQ(0UL, StackLeftAfterCall(reinterpret_cast<FARPROC>(reinterpret_cast<void *>(StdcallSeven)), arguments, 7));
}

TEST(exports_remove_their_own_arguments)
{
    for (const LibraryFacts &library : libraries) {
        HMODULE module = LoadLibraryA(library.file);
        for (const ExportFacts &facts : library.exports) {
            FailureContext context(std::string(library.file) + " " + facts.name);
            FARPROC function = GetProcAddress(module, facts.name.c_str());
            CHECK(function != nullptr);
            if (!function)
                continue;
            const std::vector<DWORD> &arguments = facts.harmlessArguments;
            CHECK_EQ(0UL, StackLeftAfterCall(function, arguments.data(), arguments.size()));
        }
        FreeLibrary(module);
    }
}

TEST(imports_only_kernel32_and_user32)
{
    for (const LibraryFacts &library : libraries) {
        FailureContext context(library.file);
        HMODULE module = LoadLibraryA(library.file);
        std::vector<std::string> imports;
        for (const std::string &name : ImportedModuleNames(module))
            imports.push_back(Lower(name));
        std::sort(imports.begin(), imports.end());
        CHECK(imports == (std::vector<std::string>{"kernel32.dll", "user32.dll"}));
        FreeLibrary(module);
    }
}

TEST(version_resource_carries_file_and_product_versions)
{
    for (const LibraryFacts &library : libraries) {
        FailureContext context(library.file);
        VS_FIXEDFILEINFO info = {};
        CHECK(ReadFileVersion(PathBesideProgram(library.file), &info));
        CHECK_EQ(library.fileVersionMs, info.dwFileVersionMS);
        CHECK_EQ(library.fileVersionLs, info.dwFileVersionLS);
        CHECK_EQ(library.productVersionMs, info.dwProductVersionMS);
        CHECK_EQ(library.productVersionLs, info.dwProductVersionLS);
        CHECK_EQ(static_cast<DWORD>(VFT_DLL), info.dwFileType);
    }
}

// The import library binds the header's decorated declarations to the plain
// export names; only the low byte of a boolean argument counts.
TEST(boolean_argument_is_its_low_byte)
{
    typedef UINT_PTR(WINAPI * InstallRaw)(DWORD, DWORD, DWORD);
    InstallRaw install = ExportOf<InstallRaw>(GetModuleHandleA("quarvo.dll"), "InstallDisableHook");
    DWORD thread = GetCurrentThreadId();
    CHECK_EQ(0u, install(0xFFFFFF00, HOOK_KEYBOARD, thread)); // low byte 0: remove, nothing held
    CHECK_EQ(static_cast<UINT_PTR>(HOOK_KEYBOARD), install(0x00000101, HOOK_KEYBOARD, thread));
    CHECK_EQ(0u, install(0x00000200, 0, 0)); // removes it: no low-level keyboard hook, so 0
    CHECK_EQ(static_cast<UINT_PTR>(HOOK_KEYBOARD), install(0xFFFFFFFF, HOOK_KEYBOARD, thread));
    CHECK_EQ(0u, InstallDisableHook(FALSE, 0, 0));
    CHECK_EQ(0u, InstallDisableHook(TRUE, 0, 0)); // proves the removal above
}

TEST(enable_argument_of_forwarding_is_its_low_byte)
{
    typedef UINT_PTR(WINAPI * InitRaw)(DWORD, HWND);
    InitRaw init = ExportOf<InitRaw>(GetModuleHandleA("quarvo.dll"), "InitQuarvoDll");
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    CHECK_EQ(0u, init(0xFFFFFF00, window)); // low byte 0: disable, nothing held
    CHECK(init(0x00000101, window) != 0);   // enables
    CHECK(init(0x00000200, window) != 0);   // disables the registration made above
    CHECK_EQ(0u, InitQuarvoDll(FALSE, nullptr)); // proves that disable
    DestroyWindow(window);
}
