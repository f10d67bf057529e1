// Named page-file-backed shared memory, as both libraries map their blocks.
#pragma once
#include <windows.h>

// Creates or opens the named mapping of `size` bytes and maps all of it.
// On success keeps both in *mapping and *view and returns true. On failure
// leaves both zero (closing any handle it got) and returns false.
bool MapNamedRegion(const char *name, DWORD size, HANDLE *mapping, void **view);

// Unmaps the view and closes the mapping, whichever is held, and zeroes both.
void ReleaseNamedRegion(HANDLE *mapping, void **view);

// The same for a typed block whose size is the size of its layout.
template <typename Block> bool MapBlock(const char *name, HANDLE *mapping, Block **view)
{
    void *mapped = 0;
    bool ok = MapNamedRegion(name, sizeof(Block), mapping, &mapped);
    *view = static_cast<Block *>(mapped);
    return ok;
}

template <typename Block> void ReleaseBlock(HANDLE *mapping, Block **view)
{
    void *mapped = *view;
    ReleaseNamedRegion(mapping, &mapped);
    *view = 0;
}
