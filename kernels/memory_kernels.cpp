#include "kernels/memory_kernels.h"

#include "kernels/kernel_timing.h"
#include "kernels/memory_bodies.h"
#include "kernels/work_buffers.h"

namespace {

constexpr int kPassesPerRun = 4;
// Any value does; a non-zero one keeps the stores clear of processors that
// skip storing zeros over zeros.
constexpr std::int32_t kWrittenValue = 0x3C3C3C3C;

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
    return measure([] { readBody(&mem0, kRegionBytes, kPassesPerRun); });
}

double bench_read2()
{
    return measure([] { readBodyMmx(&mem0, kRegionBytes, kPassesPerRun); });
}

double bench_read3()
{
    return measure([] { readBodySse(&mem0, kRegionBytes, kPassesPerRun); });
}

double bench_write()
{
    return measure([] { writeBody(&mem0, kRegionBytes, kPassesPerRun, kWrittenValue); });
}

double bench_copy()
{
    return measure([] { copyBody(&mem0, &mem1, kRegionBytes, kPassesPerRun); });
}

double bench_copy2()
{
    return measure([] { copyBodyMmx(&mem0, &mem1, kRegionBytes, kPassesPerRun); });
}

double bench_copy3()
{
    return measure([] { copyBodySse(&mem0, &mem1, kRegionBytes, kPassesPerRun); });
}
