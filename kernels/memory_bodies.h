// The timed bodies of the memory kernels.  Each runs `passes` passes; every
// pass reloads the base pointer(s) through the given pointer-to-pointer (the
// kernels pass &mem0 / &mem1) and steps an offset from 0 while it is below
// `bytes` (signed comparison).  `bytes` must be a positive multiple of the
// body's step; the read bodies with a look-ahead load also touch the byte at
// offset `bytes`.  Every access is made with the stated width and none is
// dropped, merged or widened.
#pragma once

#include <cstddef>
#include <cstdint>

// Step 64: a byte load at +64, then sixteen 32-bit loads into one register.
void readBody(std::int32_t* const* region, std::size_t bytes, int passes);
// Step 64: a byte load at +64, then eight 64-bit MMX loads into mm0..mm7.
// Clears the MMX state (EMMS) after the last pass.
void readBodyMmx(std::int32_t* const* region, std::size_t bytes, int passes);
// Step 64: four aligned 128-bit SSE loads into xmm0..xmm3.
void readBodySse(std::int32_t* const* region, std::size_t bytes, int passes);
// Step 4: one 32-bit store of `value`.
void writeBody(std::int32_t* const* region, std::size_t bytes, int passes, std::int32_t value);
// Step 4: 32-bit load from source, 32-bit store to destination, same offset.
void copyBody(std::int32_t* const* destination, std::int32_t* const* source, std::size_t bytes, int passes);
// Step 8: MOVQ through mm0.  Clears the MMX state after the last pass.
void copyBodyMmx(std::int32_t* const* destination, std::int32_t* const* source, std::size_t bytes, int passes);
// Step 16: aligned MOVAPS through xmm0.
void copyBodySse(std::int32_t* const* destination, std::int32_t* const* source, std::size_t bytes, int passes);
