// Tells a stdcall callee (pops its own arguments) from a cdecl one.
#pragma once
#include <windows.h>

// Calls function(a, b, c) and returns how many bytes of its arguments are
// still on the stack afterwards: 0 for a stdcall callee, 12 for cdecl.
extern "C" DWORD StackLeftAfterCall3(FARPROC function, DWORD a, DWORD b, DWORD c);
