#include "cli/run/thread_counts.h"

#include <algorithm>

namespace {

long long mebibytes(long long bytes) { return bytes / (1024 * 1024); }

}  // namespace

std::vector<int> resolveThreadCounts(const std::vector<int>& requested, int usableProcessors) {
    std::vector<int> counts;
    for (const int n : requested) counts.push_back(n == kAllThreads ? usableProcessors : n);
    std::sort(counts.begin(), counts.end());
    counts.erase(std::unique(counts.begin(), counts.end()), counts.end());
    return counts;
}

std::string threadRefusal(const std::vector<int>& counts, int usableProcessors, long long memAvailableBytes,
                          bool memoryStage) {
    if (counts.empty()) return "";
    const int most = counts.back();
    if (most > usableProcessors)
        return "--threads " + std::to_string(most) + " is more threads than the " + std::to_string(usableProcessors) +
               (usableProcessors == 1 ? " processor" : " processors") + " this process may use";
    const long long needed = most * kBytesPerMemoryThread;
    if (memoryStage && memAvailableBytes >= 0 && needed > memAvailableBytes)
        return "Stage 7 with " + std::to_string(most) + " threads needs " + std::to_string(most) +
               " x 512 MiB = " + std::to_string(mebibytes(needed)) + " MiB of memory, but only " +
               std::to_string(mebibytes(memAvailableBytes)) + " MiB are available (MemAvailable)";
    return "";
}
