#include "block_holders.h"
#include <windows.h>

bool WaitUntilUnheld(const char *name, unsigned long milliseconds)
{
    for (DWORD start = GetTickCount();; Sleep(50)) {
        HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
        if (!mapping)
            return true;
        CloseHandle(mapping);
        if (GetTickCount() - start > milliseconds)
            return false;
    }
}
