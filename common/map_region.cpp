#include "map_region.h"

bool MapNamedRegion(const char *name, DWORD size, HANDLE *mapping, void **view)
{
    *view = 0;
    *mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, 0, PAGE_READWRITE, 0, size, name);
    if (!*mapping)
        return false;
    *view = MapViewOfFile(*mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    if (!*view) {
        CloseHandle(*mapping);
        *mapping = 0;
        return false;
    }
    return true;
}

void ReleaseNamedRegion(HANDLE *mapping, void **view)
{
    if (*view) {
        UnmapViewOfFile(*view);
        *view = 0;
    }
    if (*mapping) {
        CloseHandle(*mapping);
        *mapping = 0;
    }
}
