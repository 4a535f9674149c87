// The arithmetic that turns a run's duration into a figure, and the
// best-of-16 frames driven by scripted clocks.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "kernels/kernel_timing.h"

namespace {

TEST(MemoryFigure, TenthOfASecondIs40960AtAnyCounterFrequency)
{
    EXPECT_EQ(memoryFigure(100000000, 1000000000), 40960.0);
    EXPECT_EQ(memoryFigure(1000000, 10000000), 40960.0);
    EXPECT_EQ(memoryFigure(100000, 1000000), 40960.0);
    // One second is 4096, i.e. 4 x the MiB a run moves per second.
    EXPECT_EQ(memoryFigure(1000000000, 1000000000), 4096.0);
}

TEST(MemoryFigure, FactorsAreAppliedInTheirOwnOrder)
{
    // 2^32 / ticks first: with 3 ticks at 1 Hz the quotient rounds before the
    // scaling, which a single fused expression 4096 * f / t would not.
    double expected = 4294967296.0 / 3.0;
    expected *= 1.0;
    expected *= 0.0009765625;
    expected *= 0.0009765625;
    EXPECT_EQ(memoryFigure(3, 1), expected);
}

TEST(CounterTicks, WrapsThroughUnsigned)
{
    EXPECT_EQ(counterTicks(INT64_MAX, INT64_MIN), 1);
    EXPECT_EQ(counterTicks(100, 350), 250);
}

TEST(ArithmeticFigure, IsAWholeNumberOfTurnsPerSecond)
{
    EXPECT_EQ(arithmeticFigure(124), 806451612.0);
    EXPECT_EQ(arithmeticFigure(265), 377358490.0);
    EXPECT_EQ(arithmeticFigure(1000), 100000000.0);
    EXPECT_EQ(arithmeticFigure(47), 2127659574.0);
}

TEST(ArithmeticFigure, FastRunsDoNotOverflow)
{
    // Beyond 2^31 per second: a 32-bit truncation would wrap or saturate.
    EXPECT_EQ(arithmeticFigure(27), 3703703703.0);
    EXPECT_EQ(arithmeticFigure(46), 2173913043.0);
    EXPECT_EQ(arithmeticFigure(1), 100000000000.0);
}

TEST(ElapsedMilliseconds, SurvivesTheClockWrapping)
{
    EXPECT_EQ(elapsedMilliseconds(static_cast<std::int32_t>(0xFFFFFFF0u), 0x10), 32);
    EXPECT_EQ(elapsedMilliseconds(INT32_MAX, INT32_MIN), 1);
    EXPECT_EQ(elapsedMilliseconds(1000, 1124), 124);
}

// A performance counter and millisecond clock that move only when told:
// each clock holds its value for `holdReads` reads and then ticks by one, so
// a frame that does not wait for a fresh tick sees a wrong duration.
struct ScriptedClock {
    std::int64_t freq = 1000000000;
    std::int64_t now = 5000;
    std::int32_t ms = 100;
    int holdReads = 3;
    int counterHeld = 0;
    int msHeld = 0;
    int counterReads = 0;

    std::int64_t frequency() { return freq; }
    std::int64_t counter()
    {
        ++counterReads;
        if (counterHeld == holdReads) {
            counterHeld = 0;
            ++now;
        } else {
            ++counterHeld;
        }
        return now;
    }
    std::int32_t milliseconds()
    {
        if (msHeld == holdReads) {
            msHeld = 0;
            ms = static_cast<std::int32_t>(static_cast<std::uint32_t>(ms) + 1u);
        } else {
            ++msHeld;
        }
        return ms;
    }
    // What a body does: time passes, and the next reads return the new time.
    void pass(std::int64_t ticks, std::int32_t milliseconds)
    {
        now += ticks;
        ms = static_cast<std::int32_t>(static_cast<std::uint32_t>(ms) + static_cast<std::uint32_t>(milliseconds));
        counterHeld = 0;
        msHeld = 0;
    }
};

TEST(BestOfCounterRuns, TakesTheFastestOfSixteenRunsFromAFreshTick)
{
    ScriptedClock clock;
    // A slow first run (pages touched for the first time) and noise after it.
    std::vector<std::int64_t> durations = {900000000, 210000000, 200000000, 230000000, 205000000, 260000000,
                                           220000000, 201000000, 250000000, 240000000, 203000000, 230000000,
                                           209000000, 207000000, 204000000, 206000000};
    int run = 0;
    const KernelResult result = bestOfCounterRuns(
        [&] {
            clock.pass(durations[run], 0);
            ++run;
        },
        clock);
    EXPECT_EQ(run, 16);
    // Exactly the body's duration: the start was taken on a tick, and the end
    // read straight after the body.
    EXPECT_EQ(result.figure, memoryFigure(200000000, clock.freq));
    EXPECT_EQ(result.figure, 20480.0);
    EXPECT_DOUBLE_EQ(result.bestSeconds, 0.2);
}

TEST(BestOfCounterRuns, AsksTheFrequencyEachRun)
{
    struct CountingClock : ScriptedClock {
        int asked = 0;
        std::int64_t frequency()
        {
            ++asked;
            return freq;
        }
    } clock;
    bestOfCounterRuns([&] { clock.pass(100000000, 0); }, clock);
    EXPECT_EQ(clock.asked, 16);
}

TEST(BestOfMillisecondRuns, TakesTheFastestRunAndKeepsTheLastReadings)
{
    ScriptedClock clock;
    clock.ms = static_cast<std::int32_t>(0xFFFFFF00u);  // the clock wraps during the runs
    std::vector<std::int32_t> durations = {300, 130, 124, 125, 140, 126, 129, 131,
                                           127, 128, 124, 150, 160, 125, 133, 135};
    int run = 0;
    std::int32_t timeStart = 0;
    std::int32_t timeEnd = 0;
    std::int32_t lastStart = 0;
    const KernelResult result = bestOfMillisecondRuns(
        [&] {
            lastStart = clock.ms;
            clock.pass(static_cast<std::int64_t>(durations[run]) * 1000000 + 17, durations[run]);
            ++run;
        },
        clock, timeStart, timeEnd);
    EXPECT_EQ(run, 16);
    EXPECT_EQ(result.figure, 806451612.0);
    EXPECT_DOUBLE_EQ(result.bestSeconds, 0.124000017);
    // The last run started on the tick it waited for and lasted 135 ms.
    EXPECT_EQ(timeStart, lastStart);
    EXPECT_EQ(elapsedMilliseconds(timeStart, timeEnd), 135);
}

}  // namespace
