// Pixels as the compiler's own vector types: SSE2 or AVX2 on x86-64 and NEON
// on arm64 get whole-register arithmetic from them (32 bytes being two
// registers where a register holds 16), and a sanitizer build checks one
// wide access where a plain loop has one check a word.
#pragma once

#include <cstdint>
#include <cstring>

using Words4 = std::uint32_t __attribute__((vector_size(16)));  // four pixels
using Words8 = std::uint32_t __attribute__((vector_size(32)));   // eight pixels
using Lanes16 = std::uint16_t __attribute__((vector_size(32)));  // sixteen 16-bit lanes

// Unaligned: rows and rectangles start at any pixel.  (The 32-byte types go
// by reference or through memory: passed by value they would need AVX's
// calling convention.)
inline void storeWords4(std::uint32_t* p, Words4 v) { std::memcpy(p, &v, sizeof v); }
