#include "import_table.h"

static const BYTE *At(HMODULE module, DWORD rva)
{
    return reinterpret_cast<const BYTE *>(module) + rva;
}

std::vector<ImportSlot> ImportSlots(HMODULE module)
{
    std::vector<ImportSlot> slots;
    const IMAGE_DOS_HEADER *dos = reinterpret_cast<const IMAGE_DOS_HEADER *>(module);
    const IMAGE_NT_HEADERS32 *nt = reinterpret_cast<const IMAGE_NT_HEADERS32 *>(At(module, dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY &directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress)
        return slots;
    for (const IMAGE_IMPORT_DESCRIPTOR *entry =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(At(module, directory.VirtualAddress));
         entry->Name; ++entry) {
        std::string dll = reinterpret_cast<const char *>(At(module, entry->Name));
        // The lookup table keeps the names; the address table is overwritten
        // with the bound addresses.
        DWORD lookupRva = entry->OriginalFirstThunk ? entry->OriginalFirstThunk : entry->FirstThunk;
        const IMAGE_THUNK_DATA32 *lookup = reinterpret_cast<const IMAGE_THUNK_DATA32 *>(At(module, lookupRva));
        DWORD *address = reinterpret_cast<DWORD *>(const_cast<BYTE *>(At(module, entry->FirstThunk)));
        for (; lookup->u1.AddressOfData; ++lookup, ++address) {
            std::string function;
            if (IMAGE_SNAP_BY_ORDINAL32(lookup->u1.Ordinal))
                function = "#" + std::to_string(IMAGE_ORDINAL32(lookup->u1.Ordinal));
            else
                function = reinterpret_cast<const IMAGE_IMPORT_BY_NAME *>(At(module, lookup->u1.AddressOfData))->Name;
            slots.push_back({dll, function, address});
        }
    }
    return slots;
}

std::string ImportSummary(HMODULE module)
{
    std::string text;
    std::vector<ImportSlot> slots = ImportSlots(module);
    for (size_t i = 0; i < slots.size();) {
        size_t count = 0;
        while (i + count < slots.size() && slots[i + count].module == slots[i].module)
            ++count;
        text += (text.empty() ? "" : ", ") + slots[i].module + " (" + std::to_string(count) + ")";
        i += count;
    }
    return text;
}

std::string ImportList(HMODULE module)
{
    std::string text;
    std::vector<ImportSlot> slots = ImportSlots(module);
    for (size_t i = 0; i < slots.size(); ++i) {
        bool first = i == 0 || slots[i - 1].module != slots[i].module;
        if (first)
            text += (i ? "; " : "") + slots[i].module + ": ";
        text += (first ? "" : ", ") + slots[i].function;
    }
    return text;
}
