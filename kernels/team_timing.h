// The timing frame of the all-thread kernels: the same best-of-16 rule and
// figure scales as the one-thread kernels (kernel_timing.h), applied to
// whole runs of a team.  A run starts when the last thread reaches the start
// barrier, on a fresh clock tick, and ends when the slowest thread ends; its
// figure is the work of all threads over that time.  The team and the clock
// are parameters so that the frame can be driven by scripted ones.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "kernels/kernel_timing.h"

struct TeamResult {
    double figure = 0.0;            // the best run's figure, all threads together
    double bestSeconds = 0.0;       // that run's duration by the performance counter
    std::vector<double> perThread;  // each thread's own figure in that run
};

// "MB/S" of a run in which each of `threads` threads moved 1 GiB: the
// one-thread figure of the run's duration, times the thread count.
double teamMemoryFigure(std::int64_t ticks, std::int64_t frequency, int threads);

// times/S of a run in which each of `threads` threads made 100,000,000
// loop turns, truncated to a whole number like the one-thread figure.
double teamArithmeticFigure(std::int32_t elapsedMs, int threads);

// (fastest - slowest) / fastest of the threads' own figures, in percent.
double threadSpreadPercent(const std::vector<double>& perThread);

// Memory frame.  Team needs size() and run(onStart, body(i)); Clock needs
// frequency() and counter(), callable from any thread.
template <class Team, class Body, class Clock>
TeamResult bestOfTeamCounterRuns(Team& team, Body&& body, Clock& clock)
{
    const int threads = team.size();
    std::vector<std::int64_t> ends(static_cast<std::size_t>(threads));
    TeamResult best;
    for (int run = 0; run < kBestOfRuns; ++run) {
        const std::int64_t frequency = clock.frequency();
        std::int64_t start = 0;
        team.run(
            [&] {
                start = clock.counter();
                std::int64_t tick = start;
                while (tick == start) {
                    tick = clock.counter();
                }
                start = tick;
            },
            [&](int i) {
                body(i);
                ends[static_cast<std::size_t>(i)] = clock.counter();
            });
        std::int64_t slowest = 0;
        for (const std::int64_t end : ends) {
            slowest = std::max(slowest, counterTicks(start, end));
        }
        const double figure = teamMemoryFigure(slowest, frequency, threads);
        if (run == 0 || figure > best.figure) {
            best.figure = figure;
            best.bestSeconds = static_cast<double>(slowest) / static_cast<double>(frequency);
            best.perThread.clear();
            for (const std::int64_t end : ends) {
                best.perThread.push_back(memoryFigure(counterTicks(start, end), frequency));
            }
        }
    }
    return best;
}

// Arithmetic frame.  Clock also needs milliseconds(), the 32-bit millisecond
// clock that sets the figure; the performance counter, read just inside the
// millisecond readings, gives the precise duration.
template <class Team, class Body, class Clock>
TeamResult bestOfTeamMillisecondRuns(Team& team, Body&& body, Clock& clock)
{
    const int threads = team.size();
    std::vector<std::int32_t> endMs(static_cast<std::size_t>(threads));
    std::vector<std::int64_t> endCounter(static_cast<std::size_t>(threads));
    TeamResult best;
    for (int run = 0; run < kBestOfRuns; ++run) {
        const std::int64_t frequency = clock.frequency();
        std::int32_t startMs = 0;
        std::int64_t startCounter = 0;
        team.run(
            [&] {
                startMs = clock.milliseconds();
                std::int32_t tick = startMs;
                while (tick == startMs) {
                    tick = clock.milliseconds();
                }
                startMs = tick;
                startCounter = clock.counter();
            },
            [&](int i) {
                body(i);
                endCounter[static_cast<std::size_t>(i)] = clock.counter();
                endMs[static_cast<std::size_t>(i)] = clock.milliseconds();
            });
        std::int32_t slowestMs = 0;
        std::int64_t slowestTicks = 0;
        for (int i = 0; i < threads; ++i) {
            slowestMs = std::max(slowestMs, elapsedMilliseconds(startMs, endMs[static_cast<std::size_t>(i)]));
            slowestTicks = std::max(slowestTicks, counterTicks(startCounter, endCounter[static_cast<std::size_t>(i)]));
        }
        const double figure = teamArithmeticFigure(slowestMs, threads);
        if (run == 0 || figure > best.figure) {
            best.figure = figure;
            best.bestSeconds = static_cast<double>(slowestTicks) / static_cast<double>(frequency);
            best.perThread.clear();
            for (const std::int32_t end : endMs) {
                best.perThread.push_back(arithmeticFigure(elapsedMilliseconds(startMs, end)));
            }
        }
    }
    return best;
}
