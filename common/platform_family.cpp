#include "platform_family.h"
#include <windows.h>

static_assert(sizeof(OSVERSIONINFOEXA) == 156, "extended version record");
static_assert(sizeof(OSVERSIONINFOA) == 148, "basic version record");

bool IsNtPlatform()
{
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA *>(&info))) {
        // Older systems refuse the extended record; they accept the basic one.
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA *>(&info)))
            return false;
    }
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}
