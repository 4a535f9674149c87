#include "kernels/memory_kernels.h"

#include "kernels/kernel_timing.h"
#include "kernels/memory_bodies.h"
#include "kernels/run_sizes.h"
#include "kernels/work_buffers.h"

namespace {

template <class Body>
double measure(Body&& body)
{
    PlatformClock clock;
    const KernelResult result = bestOfCounterRuns(body, clock);
    kernel_best_seconds = result.bestSeconds;
    return result.figure;
}

}  // namespace

double bench_read()
{
    return measure([] { readBody(&mem0, kRegionBytes, kMemoryPassesPerRun); });
}

double bench_read2()
{
    return measure([] { readBodyMmx(&mem0, kRegionBytes, kMemoryPassesPerRun); });
}

double bench_read3()
{
    return measure([] { readBodySse(&mem0, kRegionBytes, kMemoryPassesPerRun); });
}

double bench_write()
{
    return measure([] { writeBody(&mem0, kRegionBytes, kMemoryPassesPerRun, kWrittenValue); });
}

double bench_copy()
{
    return measure([] { copyBody(&mem0, &mem1, kRegionBytes, kMemoryPassesPerRun); });
}

double bench_copy2()
{
    return measure([] { copyBodyMmx(&mem0, &mem1, kRegionBytes, kMemoryPassesPerRun); });
}

double bench_copy3()
{
    return measure([] { copyBodySse(&mem0, &mem1, kRegionBytes, kMemoryPassesPerRun); });
}
