#include "stdcall_probe.h"

// Written in assembly so that no compiler assumption about the callee's
// convention can hide what the callee really does with the stack.
__asm__(".text\n"
        ".globl _StackLeftAfterCall3\n"
        "_StackLeftAfterCall3:\n"
        "    pushl %ebx\n"
        "    movl %esp, %ebx\n"
        "    pushl 20(%ebx)\n" // c
        "    pushl 16(%ebx)\n" // b
        "    pushl 12(%ebx)\n" // a
        "    call *8(%ebx)\n"  // function
        "    movl %ebx, %eax\n"
        "    subl %esp, %eax\n"
        "    movl %ebx, %esp\n"
        "    popl %ebx\n"
        "    ret\n");
