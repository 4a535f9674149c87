// The thread counts of --threads: what "all" means on this machine, and the
// runs that are refused before anything is measured.
#pragma once

#include <string>
#include <vector>

// Stands for "all" in a requested list: every processor the process may use.
constexpr int kAllThreads = 0;
// Largest count --threads takes, so that a typing slip is not read as a
// request for millions of threads.
constexpr int kMaxThreads = 4096;
// Each thread of a memory run holds two 256 MiB work buffers.
constexpr long long kBytesPerMemoryThread = 512LL * 1024 * 1024;

// "all" replaced by `usableProcessors`; ascending, no repeats.
std::vector<int> resolveThreadCounts(const std::vector<int>& requested, int usableProcessors);

// Empty when the counts can run; otherwise the one-line reason they cannot:
// more threads than usable processors, or (when Stage 7 runs) more work
// buffers than MemAvailable.  A negative `memAvailableBytes` means unknown.
std::string threadRefusal(const std::vector<int>& counts, int usableProcessors, long long memAvailableBytes,
                          bool memoryStage);
