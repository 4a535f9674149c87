// The timing frame shared by the kernels: best of 16 runs, each started on a
// fresh clock tick, and the arithmetic that turns a run's duration into the
// figure the result screen prints.  The bodies being timed live elsewhere;
// the drivers take the body and the clock as parameters so that the frame
// can be exercised with scripted clocks.
#pragma once

#include <cstdint>

constexpr int kBestOfRuns = 16;

// Duration of the best run of the kernel called last, in seconds, read from
// the performance counter (nanosecond ticks here).  The figures themselves
// keep their coarse definitions; this is for callers that want a precise
// number beside them.
extern double kernel_best_seconds;

// "MB/S" of one memory run of 4 passes over 256 MiB: 4096 / seconds, computed
// as 2^32 / ticks * frequency / 1024 / 1024 in exactly that order.
double memoryFigure(std::int64_t ticks, std::int64_t frequency);

// Difference of two performance-counter readings, wrap-safe.
std::int64_t counterTicks(std::int64_t start, std::int64_t end);

// Milliseconds between two readings of the millisecond clock, wrap-safe: the
// clock is a 32-bit value that rolls over after 49.7 days.
std::int32_t elapsedMilliseconds(std::int32_t start, std::int32_t end);

// Loop iterations per second of one arithmetic run of 100,000,000
// iterations, 100000000 / ms * 1000, truncated to a whole number.  The
// truncation goes through 64 bits: a run of 46 ms or less gives more than
// 2^31 per second, which today's processors reach.
double arithmeticFigure(std::int32_t elapsedMs);

struct KernelResult {
    double figure;        // best figure of the runs
    double bestSeconds;   // shortest run, by the performance counter
};

// Memory-kernel frame.  Clock needs frequency() and counter() returning
// 64-bit counts; body() runs the 4 timed passes.
template <class Body, class Clock>
KernelResult bestOfCounterRuns(Body&& body, Clock& clock)
{
    KernelResult result{0.0, 0.0};
    for (int run = 0; run < kBestOfRuns; ++run) {
        const std::int64_t frequency = clock.frequency();
        std::int64_t start = clock.counter();
        std::int64_t end = start;
        while (end == start) {
            end = clock.counter();
        }
        start = end;
        body();
        end = clock.counter();
        const std::int64_t ticks = counterTicks(start, end);
        const double figure = memoryFigure(ticks, frequency);
        if (figure > result.figure) {
            result.figure = figure;
        }
        const double seconds = static_cast<double>(ticks) / static_cast<double>(frequency);
        if (run == 0 || seconds < result.bestSeconds) {
            result.bestSeconds = seconds;
        }
    }
    return result;
}

// Arithmetic-kernel frame.  Clock needs milliseconds() (the 32-bit
// millisecond clock), frequency() and counter().  The millisecond readings of
// each run are left in timeStart and timeEnd; the performance counter is read
// just inside them to give the precise duration.
template <class Body, class Clock>
KernelResult bestOfMillisecondRuns(Body&& body, Clock& clock, std::int32_t& timeStart, std::int32_t& timeEnd)
{
    KernelResult result{0.0, 0.0};
    for (int run = 0; run < kBestOfRuns; ++run) {
        const std::int64_t frequency = clock.frequency();
        timeStart = clock.milliseconds();
        timeEnd = clock.milliseconds();
        while (timeEnd == timeStart) {
            timeEnd = clock.milliseconds();
        }
        timeStart = timeEnd;
        const std::int64_t counterStart = clock.counter();
        body();
        const std::int64_t counterEnd = clock.counter();
        timeEnd = clock.milliseconds();
        const double figure = arithmeticFigure(elapsedMilliseconds(timeStart, timeEnd));
        if (figure > result.figure) {
            result.figure = figure;
        }
        const double seconds =
            static_cast<double>(counterTicks(counterStart, counterEnd)) / static_cast<double>(frequency);
        if (run == 0 || seconds < result.bestSeconds) {
            result.bestSeconds = seconds;
        }
    }
    return result;
}

// The real clocks: QueryPerformanceFrequency/QueryPerformanceCounter and
// timeGetTime.
struct PlatformClock {
    std::int64_t frequency();
    std::int64_t counter();
    std::int32_t milliseconds();
};
