// Summaries of repeated measurements.
#pragma once

#include <cstdint>
#include <vector>

// The median of repeated figures with a distribution-free interval for it.
// The interval is the order-statistic one: with the samples sorted, it runs
// from the k-th smallest to the k-th largest, k as large as possible while
// the binomial probability that the true median lies outside stays at most
// 5 %.  Below 6 samples no k reaches 95 %; the interval is then the whole
// range and `coverage` says how sure it is (75 % for 3 samples, 93.75 % for 5).
struct Summary {
    std::size_t count = 0;
    double median = 0.0;  // the middle sample; the mean of the middle two for an even count
    double min = 0.0;
    double max = 0.0;
    bool hasInterval = false;  // only from 3 samples on
    double low = 0.0;
    double high = 0.0;
    double coverage = 0.0;  // probability that [low, high] holds the true median
};

Summary summarize(std::vector<double> samples);

// Which order statistics bound the interval of the median of n samples:
// returns k (1-based; the interval is the k-th smallest to the k-th
// largest) and its coverage.
struct OrderInterval {
    std::size_t k;
    double coverage;
};
OrderInterval medianInterval(std::size_t n);

// True when two intervals share no point.
inline bool intervalsApart(double lowA, double highA, double lowB, double highB) { return highA < lowB || highB < lowA; }

// Nearest-rank percentile (0 < p <= 100) of unsorted values: the smallest
// value that at least p % of them do not exceed.  0 for no values.
double percentile(std::vector<double> values, double p);
