#include "stdcall_probe.h"

// Written in assembly so that no compiler assumption about the callee's
// convention can hide what the callee really does with the stack. The callee
// keeps %ebx and %esi, as both conventions require.
__asm__(".text\n"
        ".globl _StackLeftAfterCall\n"
        "_StackLeftAfterCall:\n"
        "    pushl %ebx\n"
        "    pushl %esi\n"
        "    movl %esp, %ebx\n"
        "    movl 16(%ebx), %esi\n" // arguments
        "    movl 20(%ebx), %ecx\n" // count
        "1:  testl %ecx, %ecx\n"    // push the last argument first
        "    jz 2f\n"
        "    pushl -4(%esi,%ecx,4)\n"
        "    decl %ecx\n"
        "    jmp 1b\n"
        "2:  call *12(%ebx)\n" // function
        "    movl %ebx, %eax\n"
        "    subl %esp, %eax\n"
        "    movl %ebx, %esp\n"
        "    popl %esi\n"
        "    popl %ebx\n"
        "    ret\n");
