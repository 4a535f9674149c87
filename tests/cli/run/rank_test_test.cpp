// The rank test's p-values against distributions counted by hand, its
// normal approximation, and Holm's adjustment.
#include <gtest/gtest.h>

#include "cli/run/rank_test.h"

namespace {

TEST(RankTest, ExactPValuesMatchHandCountedArrangements) {
    // {1,2,3} against {4,5,6}: U = 0, the one most extreme of C(6,3) = 20
    // arrangements; two-sided p = 2 x 1/20.
    RankTest t = rankTest({1, 2, 3}, {4, 5, 6});
    EXPECT_TRUE(t.exact);
    EXPECT_DOUBLE_EQ(t.u, 0.0);
    EXPECT_DOUBLE_EQ(t.pValue, 0.1);
    EXPECT_DOUBLE_EQ(rankTest({4, 5, 6}, {1, 2, 3}).pValue, 0.1);  // the other tail
    EXPECT_DOUBLE_EQ(rankTest({4, 5, 6}, {1, 2, 3}).u, 9.0);

    // {1,2,4} against {3,5,6}: U = 1 (4 > 3); U <= 1 in 2 of 20 ways.
    t = rankTest({1, 2, 4}, {3, 5, 6});
    EXPECT_DOUBLE_EQ(t.u, 1.0);
    EXPECT_DOUBLE_EQ(t.pValue, 0.2);

    // Four against four: U = 1 (5 > 4); U <= 1 in 2 of C(8,4) = 70 ways.
    EXPECT_DOUBLE_EQ(rankTest({1, 2, 3, 5}, {4, 6, 7, 8}).pValue, 4.0 / 70.0);

    // U = 5, beside the centre 4.5: each tail holds at least half the ways, p = 1.
    EXPECT_DOUBLE_EQ(rankTest({1, 4, 6}, {2, 3, 5}).pValue, 1.0);
}

TEST(RankTest, TiesShareTheirMeanRankInTheExactDistribution) {
    // {1,2,2} against {2,3,4}: pooled ranks 1, 3, 3, 3, 5, 6 (the three 2s
    // share rank 3).  Doubled: 2, 6, 6, 6, 10, 12, and the first set's sum
    // is 2 + 6 + 6 = 14.  Of the 20 ways to choose three of the six, the
    // sums are 14 (3 ways: the 2 with two of the three 6s), 18 (3 + 1),
    // 20 (3), 22 (3), 24 (1 + 3) and 28 (3); P(sum <= 14) = 3/20.
    const RankTest t = rankTest({1, 2, 2}, {2, 3, 4});
    EXPECT_TRUE(t.exact);
    EXPECT_DOUBLE_EQ(t.u, 1.0);  // 2 against 2 counts one half, twice
    EXPECT_DOUBLE_EQ(t.pValue, 0.3);

    // Every sample equal: nothing tells the sets apart.
    EXPECT_DOUBLE_EQ(rankTest({5, 5, 5, 5, 5}, {5, 5, 5, 5, 5}).pValue, 1.0);
    // Two values only, as a millisecond clock gives: {1,1,1,1,2} against
    // {1,2,2,2,2}.  Ranks 1-5 share 3 and 6-10 share 8; doubled 6 and 16.
    // The first set's sum is 4 x 6 + 16 = 40; choosing five of the ten with
    // k of the 16s gives 30 + 10k, so P(sum <= 40) = P(k <= 1)
    // = (C(5,0)C(5,5) + C(5,1)C(5,4)) / 252 = 26/252.
    EXPECT_DOUBLE_EQ(rankTest({1, 1, 1, 1, 2}, {1, 2, 2, 2, 2}).pValue, 2.0 * 26.0 / 252.0);
}

TEST(RankTest, NormalApproximationWithTiesAboveTheExactLimit) {
    // 31 against 31, fully apart: U = 0, mean 480.5, variance
    // 31 x 31 x 63 / 12 = 5045.25; z = (480.5 - 0.5) / 71.030 = 6.7577.
    std::vector<double> low, high;
    for (int i = 0; i < 31; ++i) {
        low.push_back(i);
        high.push_back(100 + i);
    }
    const RankTest apart = rankTest(low, high);
    EXPECT_FALSE(apart.exact);
    EXPECT_NEAR(apart.pValue, 1.401e-11, 0.01e-11);

    // 20 + 20 samples in groups of three equal ones, counted exactly (as
    // worked out independently: 0.0051683) and approximated (0.0061278).
    std::vector<double> a, b;
    for (int i = 0; i < 20; ++i) {
        a.push_back(i / 3);
        b.push_back(i / 3 + 2);
    }
    const RankTest exact = rankTest(a, b);
    const RankTest approximate = rankTest(a, b, 0);
    ASSERT_TRUE(exact.exact);
    ASSERT_FALSE(approximate.exact);
    EXPECT_NEAR(exact.pValue, 0.0051683077, 1e-9);
    EXPECT_NEAR(approximate.pValue, 0.0061277580, 1e-9);
}

TEST(RankTest, SmallestPValueAndTheSamplesNeeded) {
    EXPECT_DOUBLE_EQ(smallestPValue(3, 3), 0.1);
    EXPECT_DOUBLE_EQ(smallestPValue(5, 5), 2.0 / 252.0);
    EXPECT_DOUBLE_EQ(smallestPValue(10, 10), 2.0 / 184756.0);
    EXPECT_DOUBLE_EQ(smallestPValue(0, 10), 1.0);
    EXPECT_DOUBLE_EQ(smallestPValue(1, 1), 1.0);
    EXPECT_GE(smallestPValue(100000, 100000), 0.0);  // overflows to 0, never to nonsense
    EXPECT_EQ(samplesNeeded(0.01), 5u);   // 2/70 > 0.01 >= 2/252
    EXPECT_EQ(samplesNeeded(0.05), 4u);   // 2/20 > 0.05 >= 2/70
    EXPECT_EQ(samplesNeeded(0.001), 7u);  // 2/924 > 0.001 >= 2/3432
}

TEST(RankTest, HolmAdjustsStepByStepAndKeepsTheOrder) {
    // Sorted 0.005, 0.01, 0.03, 0.04 become 4 x 0.005, 3 x 0.01, 2 x 0.03,
    // then max(0.06, 1 x 0.04).
    const std::vector<double> adjusted = holmAdjusted({0.01, 0.04, 0.03, 0.005});
    ASSERT_EQ(adjusted.size(), 4u);
    EXPECT_DOUBLE_EQ(adjusted[0], 0.03);
    EXPECT_DOUBLE_EQ(adjusted[1], 0.06);
    EXPECT_DOUBLE_EQ(adjusted[2], 0.06);
    EXPECT_DOUBLE_EQ(adjusted[3], 0.02);
    EXPECT_EQ(holmAdjusted({0.5, 0.6}), (std::vector<double>{1.0, 1.0}));
    EXPECT_TRUE(holmAdjusted({}).empty());
}

}  // namespace
