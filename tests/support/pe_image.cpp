#include "pe_image.h"
#include <cstring>

static const IMAGE_NT_HEADERS32 *NtHeaders(HMODULE module)
{
    const BYTE *base = reinterpret_cast<const BYTE *>(module);
    const IMAGE_DOS_HEADER *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(base);
    return reinterpret_cast<const IMAGE_NT_HEADERS32 *>(base + dos->e_lfanew);
}

static const BYTE *Rva(HMODULE module, DWORD rva)
{
    return reinterpret_cast<const BYTE *>(module) + rva;
}

std::vector<std::string> ExportedNames(HMODULE module)
{
    std::vector<std::string> names;
    const IMAGE_DATA_DIRECTORY &dir = NtHeaders(module)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (!dir.VirtualAddress)
        return names;
    const IMAGE_EXPORT_DIRECTORY *exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY *>(Rva(module, dir.VirtualAddress));
    const DWORD *nameRvas = reinterpret_cast<const DWORD *>(Rva(module, exports->AddressOfNames));
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.push_back(reinterpret_cast<const char *>(Rva(module, nameRvas[i])));
    return names;
}

std::vector<std::string> ImportedModuleNames(HMODULE module)
{
    std::vector<std::string> names;
    const IMAGE_DATA_DIRECTORY &dir = NtHeaders(module)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress)
        return names;
    for (const IMAGE_IMPORT_DESCRIPTOR *entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(Rva(module, dir.VirtualAddress));
         entry->Name; ++entry)
        names.push_back(reinterpret_cast<const char *>(Rva(module, entry->Name)));
    return names;
}

void *FindSection(HMODULE module, const char *name, DWORD *size)
{
    const IMAGE_NT_HEADERS32 *nt = NtHeaders(module);
    const IMAGE_SECTION_HEADER *section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        char sectionName[IMAGE_SIZEOF_SHORT_NAME + 1] = {};
        std::memcpy(sectionName, section->Name, IMAGE_SIZEOF_SHORT_NAME);
        if (std::strcmp(sectionName, name) == 0) {
            *size = section->Misc.VirtualSize;
            return const_cast<BYTE *>(Rva(module, section->VirtualAddress));
        }
    }
    *size = 0;
    return nullptr;
}

bool ReadFileVersion(const std::string &path, VS_FIXEDFILEINFO *info)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (!size)
        return false;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return false;
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void **>(&fixed), &length) || length < sizeof *fixed)
        return false;
    *info = *fixed;
    return true;
}
