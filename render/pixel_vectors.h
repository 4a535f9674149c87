// Sixteen bytes of pixels as the compiler's own vector types: SSE2 on x86-64
// and NEON on arm64 get whole-register arithmetic from them, and a sanitizer
// build checks one 16-byte access where a plain loop has one check a word.
#pragma once

#include <cstdint>
#include <cstring>

using Words4 = std::uint32_t __attribute__((vector_size(16)));  // four pixels
using Lanes8 = std::uint16_t __attribute__((vector_size(16)));  // eight 16-bit lanes

// Unaligned loads and stores: rows and rectangles start at any pixel.
inline Words4 loadWords4(const std::uint32_t* p) {
    Words4 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
inline void storeWords4(std::uint32_t* p, Words4 v) { std::memcpy(p, &v, sizeof v); }
