// Tells a stdcall callee (pops its own arguments) from a cdecl one.
#pragma once
#include <windows.h>

// Calls function(arguments[0], ..., arguments[count - 1]) and returns how many
// bytes of its arguments are still on the stack afterwards: 0 for a stdcall
// callee, 4 * count for cdecl.
extern "C" DWORD StackLeftAfterCall(FARPROC function, const DWORD *arguments, DWORD count);
