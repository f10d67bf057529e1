// Reads a loaded module's PE headers: exports, imports, named sections.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

std::vector<std::string> ExportedNames(HMODULE module);
std::vector<std::string> ImportedModuleNames(HMODULE module);

// The named section of a loaded module (e.g. the shared "DataSeg"), or
// nullptr; *size receives its virtual size.
void *FindSection(HMODULE module, const char *name, DWORD *size);

// The module's fixed version record, read through the version API.
bool ReadFileVersion(const std::string &path, VS_FIXEDFILEINFO *info);

// A named export as a typed function pointer, or nullptr.
template <typename Function> Function ExportOf(HMODULE module, const char *name)
{
    FARPROC address = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void *>(address));
}
