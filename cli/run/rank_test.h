// The two-sided Mann-Whitney U (rank-sum) test of two sets of samples, and
// Holm's correction for judging many figures at once.
//
// The test asks whether one run's samples tend to lie above or below the
// other's without assuming any distribution.  Equal samples are common (the
// millisecond clock gives equal figures), so they share their mean rank.
// With few samples (n1 + n2 <= kExactRankTestLimit) the p-value comes from
// the exact distribution of the rank sum over every arrangement of the
// observed values, ties included; above that from the normal approximation
// with the tie-corrected variance and a continuity correction.
#pragma once

#include <cstddef>
#include <vector>

// Up to this many samples in both sets together the exact distribution is
// counted: two runs of 30 passes (--repeat auto's default limit).  At most
// C(60, 30) ~ 1.2e17 arrangements, so 64-bit counts stay exact; counting
// 30 + 30 samples takes milliseconds.  Beyond it the normal approximation
// is close, and in the far tail it errs on the cautious side.
constexpr std::size_t kExactRankTestLimit = 60;

struct RankTest {
    // Pairs (a, b) with a > b, plus half of those with a == b.
    double u = 0.0;
    // Two-sided: twice the smaller tail, P(U <= u) or P(U >= u), at most 1.
    // 1 when either set is empty or every sample is equal.
    double pValue = 1.0;
    bool exact = false;  // the exact distribution rather than the normal approximation
};

// The samples must be finite numbers.  Up to `exactLimit` samples together
// the distribution is counted exactly; a lower limit lets tests set the two
// methods side by side.
RankTest rankTest(const std::vector<double>& a, const std::vector<double>& b,
                  std::size_t exactLimit = kExactRankTestLimit);

// The smallest two-sided p-value the test can give for sets of n1 and n2
// samples: every sample of one set above every sample of the other, no
// ties, 2 / C(n1 + n2, n1).  1 when either set is empty.
double smallestPValue(std::size_t n1, std::size_t n2);

// The fewest samples each of two equal sets needs for smallestPValue to
// reach `alpha` (0 < alpha < 1): 5 for 0.01, 4 for 0.05.
std::size_t samplesNeeded(double alpha);

// Holm's step-down adjustment: p-values that may each be compared with
// alpha while the chance of any false finding among them stays at most
// alpha.  Sorted ascending, the i-th of m becomes (m - i + 1) p, never less
// than the one before it, at most 1; returned in the given order.
std::vector<double> holmAdjusted(const std::vector<double>& pValues);
