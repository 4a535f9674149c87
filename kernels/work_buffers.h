// The two large work buffers the memory kernels sweep.  The window procedure
// allocates them with malloc when the window is created and frees the raw
// blocks when it is destroyed; the kernels use the 128-byte aligned pointers.
#pragma once

#include <cstddef>
#include <cstdint>

// Raw blocks as malloc returned them; only ever handed to free.
extern std::int32_t* mem0_;
extern std::int32_t* mem1_;
// The same blocks advanced to the next 128-byte boundary.  mem0 is what the
// read and write kernels sweep and what the copy kernels write; mem1 is the
// copy source.
extern std::int32_t* mem0;
extern std::int32_t* mem1;

// 256 MiB plus room for the alignment and for the look-ahead byte that the
// read kernels load one byte past the region.
constexpr std::size_t kWorkBufferBytes = 0x10000100;
// What one pass of a memory kernel covers from the aligned pointer.
constexpr std::size_t kRegionBytes = 0x10000000;

// raw + 128 with the low seven bits cleared: an address that is already a
// multiple of 128 moves up by a full 128 bytes.
std::int32_t* alignWorkBuffer(void* raw);

// Writes every byte once with a non-zero value.  A freshly mapped page that
// has never been written reads the kernel's shared zero page, which would
// make the read kernels measure a cache instead of memory; a non-zero fill
// also keeps the compiler from turning malloc + fill into calloc.
void prefaultWorkBuffer(void* raw, std::size_t bytes);
