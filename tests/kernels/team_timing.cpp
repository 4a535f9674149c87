// The all-thread timing frame on a scripted clock: a run lasts until its
// slowest thread ends, and the best of 16 is chosen among whole runs.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "kernels/team_timing.h"

namespace {

// Calls the start action and then every body, one after another on the
// calling thread: the frame sees the calls a real team makes, in a fixed order.
struct SequentialTeam {
    int threads;
    int runs = 0;
    int size() const { return threads; }
    void run(const std::function<void()>& onStart, const std::function<void(int)>& body)
    {
        onStart();
        for (int i = 0; i < threads; ++i) {
            body(i);
        }
        ++runs;
    }
};

// Every read moves a clock by one, so waiting for a fresh tick takes one more
// read.  A body sets where the clocks stand when its thread ends, counted
// from the run's start (the last readings before the first body).
struct ScriptedTeamClock {
    std::int64_t freq = 1000000000;
    std::int64_t now = 5000;
    std::int32_t ms = static_cast<std::int32_t>(0xFFFFFF00u);  // wraps during the runs
    std::int64_t lastCounter = 0;
    std::int32_t lastMs = 0;
    std::int64_t runStartCounter = 0;
    std::int32_t runStartMs = 0;

    std::int64_t frequency() { return freq; }
    std::int64_t counter() { return lastCounter = now++; }
    std::int32_t milliseconds()
    {
        lastMs = ms;
        ms = static_cast<std::int32_t>(static_cast<std::uint32_t>(ms) + 1u);
        return lastMs;
    }
    void runStarted()
    {
        runStartCounter = lastCounter;
        runStartMs = lastMs;
    }
    void threadEndsAfter(std::int64_t ticks, std::int32_t milliseconds)
    {
        now = runStartCounter + ticks;
        ms = static_cast<std::int32_t>(static_cast<std::uint32_t>(runStartMs) + static_cast<std::uint32_t>(milliseconds));
    }
};

// Three threads over 16 runs, their durations in milliseconds.  Run 7 has
// the shortest slowest thread (260 ms); other runs hold faster single
// threads (100, 150 ms), which must not count on their own.  Each thread's
// body puts the clocks where they stand when it ends: the counter 17 ns past
// the whole milliseconds.
struct ThreeThreadScript {
    SequentialTeam team{3};
    ScriptedTeamClock clock;
    std::vector<std::vector<int>> runs = std::vector<std::vector<int>>(16, std::vector<int>{400, 410, 420});
    int run = 0;

    ThreeThreadScript()
    {
        runs[3] = {150, 500, 200};
        runs[7] = {260, 250, 240};
        runs[12] = {300, 280, 100};
        runs[15] = {261, 100, 100};
    }
    void body(int i)
    {
        if (i == 0) {
            clock.runStarted();
        }
        const int ms = runs[static_cast<std::size_t>(run)][static_cast<std::size_t>(i)];
        clock.threadEndsAfter(std::int64_t{ms} * 1000000 + 17, ms);
        if (i == team.threads - 1) {
            ++run;
        }
    }
};

TEST(TeamCounterRuns, TheSlowestThreadSetsTheRunAndTheBestWholeRunWins)
{
    ThreeThreadScript s;
    const TeamResult result = bestOfTeamCounterRuns(s.team, [&](int i) { s.body(i); }, s.clock);
    EXPECT_EQ(s.team.runs, 16);
    EXPECT_EQ(result.figure, teamMemoryFigure(260000017, s.clock.freq, 3));
    EXPECT_EQ(result.figure, 3 * memoryFigure(260000017, s.clock.freq));
    EXPECT_DOUBLE_EQ(result.bestSeconds, 0.260000017);
    const std::vector<double> perThread = {memoryFigure(260000017, s.clock.freq),
                                           memoryFigure(250000017, s.clock.freq),
                                           memoryFigure(240000017, s.clock.freq)};
    EXPECT_EQ(result.perThread, perThread);
}

TEST(TeamMillisecondRuns, TheSlowestThreadSetsTheRunAndTheBestWholeRunWins)
{
    ThreeThreadScript s;
    const TeamResult result = bestOfTeamMillisecondRuns(s.team, [&](int i) { s.body(i); }, s.clock);
    EXPECT_EQ(s.team.runs, 16);
    EXPECT_EQ(result.figure, 1153846153.0);  // 3 x 10^8 turns in 260 ms
    EXPECT_EQ(result.figure, teamArithmeticFigure(260, 3));
    EXPECT_DOUBLE_EQ(result.bestSeconds, 0.260000017);
    const std::vector<double> perThread = {arithmeticFigure(260), arithmeticFigure(250), arithmeticFigure(240)};
    EXPECT_EQ(result.perThread, perThread);
}

TEST(TeamFigures, OneThreadGivesTheOneThreadFiguresAndMoreThreadsMultiply)
{
    for (const std::int64_t ticks : {std::int64_t{3}, std::int64_t{123456789}, std::int64_t{1000000000}}) {
        EXPECT_EQ(teamMemoryFigure(ticks, 1000000000, 1), memoryFigure(ticks, 1000000000));
    }
    for (const std::int32_t ms : {1, 27, 46, 124, 265, 1000}) {
        EXPECT_EQ(teamArithmeticFigure(ms, 1), arithmeticFigure(ms));
    }
    EXPECT_EQ(teamMemoryFigure(1000000000, 1000000000, 4), 16384.0);
    EXPECT_EQ(teamArithmeticFigure(124, 2), 1612903225.0);  // truncated once, not 2 x 806451612
    EXPECT_EQ(teamArithmeticFigure(1, 128), 12800000000000.0);

    EXPECT_DOUBLE_EQ(threadSpreadPercent({100.0, 80.0, 90.0}), 20.0);
    EXPECT_EQ(threadSpreadPercent({5.0}), 0.0);
    EXPECT_EQ(threadSpreadPercent({}), 0.0);
}

}  // namespace
