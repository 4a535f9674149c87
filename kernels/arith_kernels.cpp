#include "kernels/arith_kernels.h"

#include "kernels/arith_bodies.h"
#include "kernels/kernel_timing.h"
#include "kernels/run_sizes.h"

std::int32_t time_start = 0;
std::int32_t time_end = 0;

namespace {

template <class Body>
double measure(Body&& body)
{
    PlatformClock clock;
    const KernelResult result = bestOfMillisecondRuns(body, clock, time_start, time_end);
    kernel_best_seconds = result.bestSeconds;
    return result.figure;
}

}  // namespace

double bench_calc_add()
{
    return measure([] { addLoop(kIterationsPerRun); });
}

double bench_calc_sub()
{
    return measure([] { subLoop(kIterationsPerRun); });
}

double bench_calc_mul()
{
    return measure([] { mulLoop(kIterationsPerRun); });
}

double bench_calc_div()
{
    return measure([] { divLoop(kIterationsPerRun); });
}
