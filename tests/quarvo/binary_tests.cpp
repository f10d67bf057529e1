// The DLL files themselves: exports, calling convention, imports, versions.
#include <algorithm>
#include <cctype>
#include "check.h"
#include "pe_image.h"
#include "processes.h"
#include "quarvo_pavrik.h"
#include "stdcall_probe.h"

namespace {
struct LibraryFacts {
    const char *file;
    std::vector<std::string> exports;
    std::vector<std::string> threeArgumentExports;
    DWORD fileVersionMs, fileVersionLs, productVersionMs, productVersionLs;
};

const LibraryFacts libraries[] = {
    {"quarvo.dll",
     {"GetQuarvoSharedData", "InstallDisableHook", "KbdDisableProc", "KbdDisableProcL", "MouDisableProc",
      "MouDisableProcL"},
     {"InstallDisableHook", "KbdDisableProc", "KbdDisableProcL", "MouDisableProc", "MouDisableProcL"},
     MAKELONG(1, 2), MAKELONG(0, 0), MAKELONG(0, 2), MAKELONG(0, 0)},
    {"pavrik.dll",
     {"GetMainControlData", "InitKBDDll", "LowLevelKeyboardProc5"},
     {"LowLevelKeyboardProc5"},
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
        std::vector<std::string> expected = library.exports;
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

// Code -1 makes each hook procedure pass the event on; InstallDisableHook
// with all-zero arguments removes hooks, of which there are none here.
TEST(three_argument_exports_remove_their_own_arguments)
{
    for (const LibraryFacts &library : libraries) {
        HMODULE module = LoadLibraryA(library.file);
        for (const std::string &name : library.threeArgumentExports) {
            FailureContext context(std::string(library.file) + " " + name);
            FARPROC function = GetProcAddress(module, name.c_str());
            CHECK(function != nullptr);
            if (!function)
                continue;
            bool isHookProcedure = name.find("Proc") != std::string::npos;
            CHECK_EQ(0UL, StackLeftAfterCall3(function, isHookProcedure ? static_cast<DWORD>(-1) : 0, 0, 0));
        }
        FreeLibrary(module);
    }
}

// Of the three arguments the probe pushes, a stdcall callee taking one
// removes its own four bytes and leaves eight; a cdecl callee leaves twelve.
// Argument 0 asks InitKBDDll to remove a hook, of which there is none here.
TEST(one_argument_export_removes_its_own_argument)
{
    HMODULE module = LoadLibraryA("pavrik.dll");
    FARPROC function = GetProcAddress(module, "InitKBDDll");
    CHECK(function != nullptr);
    if (function)
        CHECK_EQ(8UL, StackLeftAfterCall3(function, 0, 0, 0));
    FreeLibrary(module);
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
