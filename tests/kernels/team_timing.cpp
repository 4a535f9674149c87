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

// Durations of three threads in 16 runs, in milliseconds.  Run 7 has the
// shortest slowest thread (260 ms); other runs hold faster single threads
// (100, 150 ms), which must not count on their own.
std::vector<std::vector<int>> threeThreadRuns()
{
    std::vector<std::vector<int>> runs(16, std::vector<int>{400, 410, 420});
    runs[3] = {150, 500, 200};
    runs[7] = {260, 250, 240};
    runs[12] = {300, 280, 100};
    runs[15] = {261, 100, 100};
    return runs;
}

TEST(TeamCounterRuns, TheSlowestThreadSetsTheRunAndTheBestWholeRunWins)
{
    const std::vector<std::vector<int>> runs = threeThreadRuns();
    SequentialTeam team{3};
    ScriptedTeamClock clock;
    int run = 0;
    const TeamResult result = bestOfTeamCounterRuns(
        team,
        [&](int i) {
            if (i == 0) {
                clock.runStarted();
            }
            clock.threadEndsAfter(std::int64_t{runs[run][i]} * 1000000, 0);
            if (i == 2) {
                ++run;
            }
        },
        clock);
    EXPECT_EQ(team.runs, 16);
    EXPECT_EQ(result.figure, teamMemoryFigure(260000000, clock.freq, 3));
    EXPECT_EQ(result.figure, 3 * memoryFigure(260000000, clock.freq));
    EXPECT_DOUBLE_EQ(result.bestSeconds, 0.26);
    const std::vector<double> perThread = {memoryFigure(260000000, clock.freq), memoryFigure(250000000, clock.freq),
                                           memoryFigure(240000000, clock.freq)};
    EXPECT_EQ(result.perThread, perThread);
}

TEST(TeamMillisecondRuns, TheSlowestThreadSetsTheRunAndTheBestWholeRunWins)
{
    const std::vector<std::vector<int>> runs = threeThreadRuns();
    SequentialTeam team{3};
    ScriptedTeamClock clock;
    int run = 0;
    const TeamResult result = bestOfTeamMillisecondRuns(
        team,
        [&](int i) {
            if (i == 0) {
                clock.runStarted();
            }
            // The counter sees 17 ns more than the whole milliseconds.
            clock.threadEndsAfter(std::int64_t{runs[run][i]} * 1000000 + 17, runs[run][i]);
            if (i == 2) {
                ++run;
            }
        },
        clock);
    EXPECT_EQ(team.runs, 16);
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
