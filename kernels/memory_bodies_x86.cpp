// The memory bodies as x86-64 instruction sequences.  Each timed loop head is
// aligned to 64 bytes: the 4-byte-step loops run at half speed when the loop
// straddles a fetch boundary.  The offset is compared signed (JL) against the
// byte count.
#if defined(__x86_64__)

#include "kernels/memory_bodies.h"

void readBody(std::int32_t* const* region, std::size_t bytes, int passes)
{
    if (bytes == 0 || passes <= 0) {
        return;
    }
    asm volatile(
        "2:\n\t"
        "movq (%[region]), %%rsi\n\t"
        "xorl %%ecx, %%ecx\n\t"
        ".p2align 6\n"
        "1:\n\t"
        "movzbl 64(%%rsi,%%rcx), %%edx\n\t"
        "movl 0(%%rsi,%%rcx), %%eax\n\t"
        "movl 4(%%rsi,%%rcx), %%eax\n\t"
        "movl 8(%%rsi,%%rcx), %%eax\n\t"
        "movl 12(%%rsi,%%rcx), %%eax\n\t"
        "movl 16(%%rsi,%%rcx), %%eax\n\t"
        "movl 20(%%rsi,%%rcx), %%eax\n\t"
        "movl 24(%%rsi,%%rcx), %%eax\n\t"
        "movl 28(%%rsi,%%rcx), %%eax\n\t"
        "movl 32(%%rsi,%%rcx), %%eax\n\t"
        "movl 36(%%rsi,%%rcx), %%eax\n\t"
        "movl 40(%%rsi,%%rcx), %%eax\n\t"
        "movl 44(%%rsi,%%rcx), %%eax\n\t"
        "movl 48(%%rsi,%%rcx), %%eax\n\t"
        "movl 52(%%rsi,%%rcx), %%eax\n\t"
        "movl 56(%%rsi,%%rcx), %%eax\n\t"
        "movl 60(%%rsi,%%rcx), %%eax\n\t"
        "addq $64, %%rcx\n\t"
        "cmpq %[bytes], %%rcx\n\t"
        "jl 1b\n\t"
        "decl %[passes]\n\t"
        "jnz 2b\n\t"
        : [passes] "+r"(passes)
        : [region] "r"(region), [bytes] "r"(bytes)
        : "rax", "rcx", "rdx", "rsi", "cc", "memory");
}

void readBodyMmx(std::int32_t* const* region, std::size_t bytes, int passes)
{
    if (bytes == 0 || passes <= 0) {
        return;
    }
    asm volatile(
        "2:\n\t"
        "movq (%[region]), %%rsi\n\t"
        "xorl %%ecx, %%ecx\n\t"
        ".p2align 6\n"
        "1:\n\t"
        "movzbl 64(%%rsi,%%rcx), %%edx\n\t"
        "movq 0(%%rsi,%%rcx), %%mm0\n\t"
        "movq 8(%%rsi,%%rcx), %%mm1\n\t"
        "movq 16(%%rsi,%%rcx), %%mm2\n\t"
        "movq 24(%%rsi,%%rcx), %%mm3\n\t"
        "movq 32(%%rsi,%%rcx), %%mm4\n\t"
        "movq 40(%%rsi,%%rcx), %%mm5\n\t"
        "movq 48(%%rsi,%%rcx), %%mm6\n\t"
        "movq 56(%%rsi,%%rcx), %%mm7\n\t"
        "addq $64, %%rcx\n\t"
        "cmpq %[bytes], %%rcx\n\t"
        "jl 1b\n\t"
        "decl %[passes]\n\t"
        "jnz 2b\n\t"
        "emms\n\t"
        : [passes] "+r"(passes)
        : [region] "r"(region), [bytes] "r"(bytes)
        : "rcx", "rdx", "rsi", "mm0", "mm1", "mm2", "mm3", "mm4", "mm5", "mm6", "mm7", "st", "st(1)", "st(2)",
          "st(3)", "st(4)", "st(5)", "st(6)", "st(7)", "cc", "memory");
}

void readBodySse(std::int32_t* const* region, std::size_t bytes, int passes)
{
    if (bytes == 0 || passes <= 0) {
        return;
    }
    asm volatile(
        "2:\n\t"
        "movq (%[region]), %%rsi\n\t"
        "xorl %%ecx, %%ecx\n\t"
        ".p2align 6\n"
        "1:\n\t"
        "movaps 0(%%rsi,%%rcx), %%xmm0\n\t"
        "movaps 16(%%rsi,%%rcx), %%xmm1\n\t"
        "movaps 32(%%rsi,%%rcx), %%xmm2\n\t"
        "movaps 48(%%rsi,%%rcx), %%xmm3\n\t"
        "addq $64, %%rcx\n\t"
        "cmpq %[bytes], %%rcx\n\t"
        "jl 1b\n\t"
        "decl %[passes]\n\t"
        "jnz 2b\n\t"
        : [passes] "+r"(passes)
        : [region] "r"(region), [bytes] "r"(bytes)
        : "rcx", "rsi", "xmm0", "xmm1", "xmm2", "xmm3", "cc", "memory");
}

void writeBody(std::int32_t* const* region, std::size_t bytes, int passes, std::int32_t value)
{
    if (bytes == 0 || passes <= 0) {
        return;
    }
    asm volatile(
        "2:\n\t"
        "movq (%[region]), %%rdi\n\t"
        "xorl %%ecx, %%ecx\n\t"
        ".p2align 6\n"
        "1:\n\t"
        "movl %%eax, (%%rdi,%%rcx)\n\t"
        "addq $4, %%rcx\n\t"
        "cmpq %[bytes], %%rcx\n\t"
        "jl 1b\n\t"
        "decl %[passes]\n\t"
        "jnz 2b\n\t"
        : [passes] "+r"(passes)
        : [region] "r"(region), [bytes] "r"(bytes), [value] "a"(value)
        : "rcx", "rdi", "cc", "memory");
}

void copyBody(std::int32_t* const* destination, std::int32_t* const* source, std::size_t bytes, int passes)
{
    if (bytes == 0 || passes <= 0) {
        return;
    }
    asm volatile(
        "2:\n\t"
        "movq (%[destination]), %%rdi\n\t"
        "movq (%[source]), %%rsi\n\t"
        "xorl %%ecx, %%ecx\n\t"
        ".p2align 6\n"
        "1:\n\t"
        "movl (%%rsi,%%rcx), %%eax\n\t"
        "movl %%eax, (%%rdi,%%rcx)\n\t"
        "addq $4, %%rcx\n\t"
        "cmpq %[bytes], %%rcx\n\t"
        "jl 1b\n\t"
        "decl %[passes]\n\t"
        "jnz 2b\n\t"
        : [passes] "+r"(passes)
        : [destination] "r"(destination), [source] "r"(source), [bytes] "r"(bytes)
        : "rax", "rcx", "rsi", "rdi", "cc", "memory");
}

void copyBodyMmx(std::int32_t* const* destination, std::int32_t* const* source, std::size_t bytes, int passes)
{
    if (bytes == 0 || passes <= 0) {
        return;
    }
    asm volatile(
        "2:\n\t"
        "movq (%[destination]), %%rdi\n\t"
        "movq (%[source]), %%rsi\n\t"
        "xorl %%ecx, %%ecx\n\t"
        ".p2align 6\n"
        "1:\n\t"
        "movq (%%rsi,%%rcx), %%mm0\n\t"
        "movq %%mm0, (%%rdi,%%rcx)\n\t"
        "addq $8, %%rcx\n\t"
        "cmpq %[bytes], %%rcx\n\t"
        "jl 1b\n\t"
        "decl %[passes]\n\t"
        "jnz 2b\n\t"
        "emms\n\t"
        : [passes] "+r"(passes)
        : [destination] "r"(destination), [source] "r"(source), [bytes] "r"(bytes)
        : "rcx", "rsi", "rdi", "mm0", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)", "cc",
          "memory");
}

void copyBodySse(std::int32_t* const* destination, std::int32_t* const* source, std::size_t bytes, int passes)
{
    if (bytes == 0 || passes <= 0) {
        return;
    }
    asm volatile(
        "2:\n\t"
        "movq (%[destination]), %%rdi\n\t"
        "movq (%[source]), %%rsi\n\t"
        "xorl %%ecx, %%ecx\n\t"
        ".p2align 6\n"
        "1:\n\t"
        "movaps (%%rsi,%%rcx), %%xmm0\n\t"
        "movaps %%xmm0, (%%rdi,%%rcx)\n\t"
        "addq $16, %%rcx\n\t"
        "cmpq %[bytes], %%rcx\n\t"
        "jl 1b\n\t"
        "decl %[passes]\n\t"
        "jnz 2b\n\t"
        : [passes] "+r"(passes)
        : [destination] "r"(destination), [source] "r"(source), [bytes] "r"(bytes)
        : "rcx", "rsi", "rdi", "xmm0", "cc", "memory");
}

#endif
