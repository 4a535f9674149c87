#include <gtest/gtest.h>

#include "cli/run/settling.h"
#include "cli/run/statistics.h"

namespace {

TEST(Statistics, MedianOfOddAndEvenCounts) {
    EXPECT_DOUBLE_EQ(summarize({5.0}).median, 5.0);
    EXPECT_DOUBLE_EQ(summarize({3.0, 1.0, 2.0}).median, 2.0);
    EXPECT_DOUBLE_EQ(summarize({4.0, 1.0, 3.0, 2.0}).median, 2.5);
    const Summary s = summarize({9.0, -1.0, 4.0, 4.0, 7.0});
    EXPECT_DOUBLE_EQ(s.median, 4.0);
    EXPECT_DOUBLE_EQ(s.min, -1.0);
    EXPECT_DOUBLE_EQ(s.max, 9.0);
    EXPECT_EQ(s.count, 5u);
}

TEST(Statistics, NoIntervalBelowThreeSamples) {
    EXPECT_FALSE(summarize({}).hasInterval);
    EXPECT_FALSE(summarize({1.0, 2.0}).hasInterval);
    EXPECT_TRUE(summarize({1.0, 2.0, 3.0}).hasInterval);
}

// The order statistics and their exact binomial coverage, as printed in
// the usual tables for the median's distribution-free interval.
TEST(Statistics, OrderStatisticIntervalMatchesBinomialTable) {
    struct Row {
        std::size_t n, k;
        double coverage;
    };
    const Row rows[] = {
        {3, 1, 0.75},          // below 6 samples: the whole range, short of 95 %
        {5, 1, 0.9375},
        {6, 1, 0.96875},
        {8, 1, 0.9921875},     // k = 2 would give 0.9297
        {9, 2, 0.9609375},
        {10, 2, 0.978515625},
        {20, 6, 0.9586105347},
        // n / 2 - 1.96 sqrt(n) / 2 = 49690.1 by the normal approximation; a
        // run read from a file may hold this many samples of one figure.
        {100000, 49690, 0.9504442853},
    };
    for (const Row& r : rows) {
        const OrderInterval oi = medianInterval(r.n);
        EXPECT_EQ(oi.k, r.k) << "n=" << r.n;
        EXPECT_NEAR(oi.coverage, r.coverage, 1e-9) << "n=" << r.n;
    }
}

TEST(Statistics, IntervalTakesTheOrderStatisticsOfTheSortedSamples) {
    // Ten samples: the 2nd smallest and the 2nd largest.
    const Summary s = summarize({10, 1, 9, 2, 8, 3, 7, 4, 6, 5});
    ASSERT_TRUE(s.hasInterval);
    EXPECT_DOUBLE_EQ(s.low, 2.0);
    EXPECT_DOUBLE_EQ(s.high, 9.0);
    EXPECT_DOUBLE_EQ(s.median, 5.5);
    const Summary three = summarize({30, 10, 20});
    EXPECT_DOUBLE_EQ(three.low, 10.0);
    EXPECT_DOUBLE_EQ(three.high, 30.0);
    EXPECT_DOUBLE_EQ(three.coverage, 0.75);
}

TEST(Statistics, NearestRankPercentile) {
    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i) hundred.push_back(i);
    EXPECT_DOUBLE_EQ(percentile(hundred, 50), 50.0);
    EXPECT_DOUBLE_EQ(percentile(hundred, 99), 99.0);
    EXPECT_DOUBLE_EQ(percentile(hundred, 100), 100.0);
    EXPECT_DOUBLE_EQ(percentile({7.0}, 99), 7.0);
    EXPECT_DOUBLE_EQ(percentile({1, 2, 3}, 99), 3.0);
    EXPECT_DOUBLE_EQ(percentile({}, 50), 0.0);
}

// --repeat auto stops when the interval of the median lies within
// +-percent of the median.
TEST(Statistics, SettledWhenTheIntervalLiesCloseAroundTheMedian) {
    // Five samples: the interval is the whole range, 97 .. 103 around 100.
    EXPECT_TRUE(settledWithin({100, 97, 103, 100, 101}, 3.0));
    EXPECT_FALSE(settledWithin({100, 96.9, 103, 100, 101}, 3.0));
    EXPECT_TRUE(settledWithin({100, 96.9, 103, 100, 101}, 3.5));
    // Ten samples: the 2nd smallest and 2nd largest count, one outlier each side does not.
    EXPECT_TRUE(settledWithin({50, 99, 100, 100, 100, 101, 101, 100, 99, 150}, 1.0));
    EXPECT_FALSE(settledWithin({100, 100}, 50.0));  // no interval yet
    EXPECT_TRUE(settledWithin({0, 0, 0, 0, 0}, 3.0));
}

}  // namespace
