// Time on the performance counter, which every process of the machine reads
// alike, so stamps taken in two processes can be subtracted.
#pragma once
#include <windows.h>

inline LONGLONG Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

inline double Nanoseconds(LONGLONG ticks)
{
    static LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return static_cast<double>(ticks) * 1e9 / static_cast<double>(frequency);
}
