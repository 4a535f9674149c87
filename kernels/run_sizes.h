// How much one timed run of a kernel does, shared by the one-thread kernels
// and their all-thread counterparts so that both measure the same work.
#pragma once

#include <cstdint>

// A memory run: 4 passes over the 256 MiB region, 1 GiB in all.
constexpr int kMemoryPassesPerRun = 4;
// Any value does; a non-zero one keeps the stores clear of processors that
// skip storing zeros over zeros.
constexpr std::int32_t kWrittenValue = 0x3C3C3C3C;
// An arithmetic run: this many loop turns.
constexpr std::uint32_t kIterationsPerRun = 100000000;
