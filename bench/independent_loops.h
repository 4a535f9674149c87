// Plain C++ loops that make the same kinds of access as the memory kernels
// over one 256 MiB region, written independently of the kernels' bodies: the
// yardsticks the kernels are checked against.  One call is one pass.
//
// Volatile keeps each 32- and 64-bit access at its width (GCC would otherwise
// widen a store loop to 128 bits, make a zero-store loop a memset, and keep
// one load of a read loop); the empty asm statements keep the 128-bit ones,
// and stop a load-store pair from becoming memcpy.  The including file sets
// align-loops=64, as the kernels align their loop heads: a 4-byte-step loop
// that straddles a fetch block runs at half speed.
#pragma once

#include <cstdint>

#include "kernels/work_buffers.h"

// 128 bits in one register: GCC's generic vectors, so that the same loops
// build for x86-64 (an XMM register, constraint "x") and arm64 (a Q
// register, constraint "w").
using Lanes128 = std::uint32_t __attribute__((vector_size(16)));
#if defined(__x86_64__)
#define VECTOR_REGISTER "x"
#elif defined(__aarch64__)
#define VECTOR_REGISTER "w"
#else
#error "name the asm constraint of a 128-bit vector register for this processor"
#endif

namespace independent {

inline void read32(const std::int32_t* region)
{
    const volatile std::uint32_t* p = reinterpret_cast<const volatile std::uint32_t*>(region);
    for (std::size_t i = 0; i < kRegionBytes / 4; i += 16) {
        for (int k = 0; k < 16; ++k) {
            static_cast<void>(p[i + k]);
        }
    }
}

inline void read64(const std::int32_t* region)
{
    const volatile std::uint64_t* p = reinterpret_cast<const volatile std::uint64_t*>(region);
    for (std::size_t i = 0; i < kRegionBytes / 8; i += 8) {
        for (int k = 0; k < 8; ++k) {
            static_cast<void>(p[i + k]);
        }
    }
}

inline void read128(const std::int32_t* region)
{
    const Lanes128* p = reinterpret_cast<const Lanes128*>(region);
    for (std::size_t i = 0; i < kRegionBytes / 16; i += 4) {
        Lanes128 a = p[i];
        Lanes128 b = p[i + 1];
        Lanes128 c = p[i + 2];
        Lanes128 d = p[i + 3];
        asm volatile("" : : VECTOR_REGISTER(a), VECTOR_REGISTER(b), VECTOR_REGISTER(c), VECTOR_REGISTER(d));
    }
}

// One 32-bit store a turn, like the kernel.  Such a loop is bound by the core
// (about one turn a cycle at best), not by memory, so its figure depends on
// the loop's shape: the value is kept in a register because the
// immediate-operand store GCC would make runs about a third slower here.
inline void write32(std::int32_t* region)
{
    volatile std::uint32_t* p = reinterpret_cast<volatile std::uint32_t*>(region);
    std::uint32_t value = 0x2D2D2D2Du;
    asm("" : "+r"(value));
    for (std::size_t i = 0; i < kRegionBytes / 4; ++i) {
        p[i] = value;
    }
}

// Four 32-bit stores a turn: what memory takes when the loop is not the limit.
inline void write32FourATurn(std::int32_t* region)
{
    volatile std::uint32_t* p = reinterpret_cast<volatile std::uint32_t*>(region);
    for (std::size_t i = 0; i < kRegionBytes / 4; i += 4) {
        p[i] = 0x2D2D2D2Du;
        p[i + 1] = 0x2D2D2D2Du;
        p[i + 2] = 0x2D2D2D2Du;
        p[i + 3] = 0x2D2D2D2Du;
    }
}

template <class Word>
void copy(std::int32_t* destination, const std::int32_t* source)
{
    volatile Word* to = reinterpret_cast<volatile Word*>(destination);
    const volatile Word* from = reinterpret_cast<const volatile Word*>(source);
    for (std::size_t i = 0; i < kRegionBytes / sizeof(Word); ++i) {
        to[i] = from[i];
    }
}

inline void copy128(std::int32_t* destination, const std::int32_t* source)
{
    Lanes128* to = reinterpret_cast<Lanes128*>(destination);
    const Lanes128* from = reinterpret_cast<const Lanes128*>(source);
    for (std::size_t i = 0; i < kRegionBytes / 16; ++i) {
        Lanes128 v = from[i];
        asm volatile("" : "+" VECTOR_REGISTER(v));
        to[i] = v;
    }
}

}  // namespace independent
