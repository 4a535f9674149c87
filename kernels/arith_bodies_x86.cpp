// The arithmetic loops as x86-64 instruction sequences, each loop head on a
// 64-byte boundary.
#if defined(__x86_64__)

#include "kernels/arith_bodies.h"

void addLoop(std::uint32_t iterations)
{
    if (iterations == 0) {
        return;
    }
    asm volatile(
        "movl %[iterations], %%ecx\n\t"
        ".p2align 6\n"
        "1:\n\t"
        "addl $1, %%eax\n\t"
        "loop 1b\n\t"
        :
        : [iterations] "r"(iterations)
        : "rax", "rcx", "cc");
}

void subLoop(std::uint32_t iterations)
{
    if (iterations == 0) {
        return;
    }
    asm volatile(
        "movl %[iterations], %%ecx\n\t"
        ".p2align 6\n"
        "1:\n\t"
        "subl $1, %%eax\n\t"
        "loop 1b\n\t"
        :
        : [iterations] "r"(iterations)
        : "rax", "rcx", "cc");
}

void mulLoop(std::uint32_t iterations)
{
    if (iterations == 0) {
        return;
    }
    asm volatile(
        "movl $1, %%eax\n\t"
        "movl %[iterations], %%ecx\n\t"
        ".p2align 6\n"
        "1:\n\t"
        "mull %%eax\n\t"
        "loop 1b\n\t"
        :
        : [iterations] "r"(iterations)
        : "rax", "rcx", "rdx", "cc");
}

void divLoop(std::uint32_t iterations)
{
    if (iterations == 0) {
        return;
    }
    // The pushes step over the 128-byte red zone below the stack pointer,
    // where the compiler may keep locals of this function.
    asm volatile(
        "leaq -128(%%rsp), %%rsp\n\t"
        "pushq %%rax\n\t"
        "pushq %%rdx\n\t"
        "pushq %%rcx\n\t"
        "movl %[iterations], %%ecx\n\t"
        ".p2align 6\n"
        "1:\n\t"
        "movl $1, %%eax\n\t"
        "movl $0, %%edx\n\t"
        "divl %%eax\n\t"
        "loop 1b\n\t"
        "popq %%rcx\n\t"
        "popq %%rdx\n\t"
        "popq %%rax\n\t"
        "leaq 128(%%rsp), %%rsp\n\t"
        :
        : [iterations] "r"(iterations)
        : "cc");
}

#endif
