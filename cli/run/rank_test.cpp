#include "cli/run/rank_test.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace {

struct Ranked {
    std::vector<std::int64_t> doubledRanks;  // of every sample of a, then of b; twice the mean rank, a whole number
    double tieTerm = 0.0;           // sum of t^3 - t over the groups of t equal samples
};

// Ranks the pooled samples from 1, equal samples sharing the mean of their
// ranks.  Doubled, a mean rank (i + j) / 2 is the whole number i + j.
Ranked rankPooled(const std::vector<double>& a, const std::vector<double>& b) {
    const std::size_t n = a.size() + b.size();
    std::vector<double> values(a);
    values.insert(values.end(), b.begin(), b.end());
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) { return values[x] < values[y]; });

    Ranked r;
    r.doubledRanks.resize(n);
    for (std::size_t first = 0; first < n;) {
        std::size_t end = first + 1;
        while (end < n && values[order[end]] == values[order[first]]) ++end;
        // Ranks first + 1 ... end share their mean.
        const auto doubled = static_cast<std::int64_t>(first + 1 + end);
        for (std::size_t k = first; k < end; ++k) r.doubledRanks[order[k]] = doubled;
        const double t = static_cast<double>(end - first);
        r.tieTerm += t * t * t - t;
        first = end;
    }
    return r;
}

// Twice the smaller tail of the exact distribution of a's doubled rank sum,
// `observed`, over all C(n, n1) ways to choose which of the pooled samples
// (with these ranks) are a's.
// Only for few samples: the sums stay small.
double exactPValue(const std::vector<std::int64_t>& doubledRanks, std::size_t n1, std::int64_t observedSum) {
    const int total = static_cast<int>(std::accumulate(doubledRanks.begin(), doubledRanks.end(), std::int64_t{0}));
    const int observed = static_cast<int>(observedSum);
    const std::size_t width = static_cast<std::size_t>(total) + 1;
    // ways[k * width + w]: subsets of the samples so far with k members and
    // doubled rank sum w; no more than C(n, k) of them.
    std::vector<std::uint64_t> ways((n1 + 1) * width, 0);
    ways[0] = 1;
    const std::size_t n = doubledRanks.size();
    std::size_t seen = 0;
    int reach = 0;  // the largest sum reached so far
    for (const std::int64_t doubledRank : doubledRanks) {
        const int rank = static_cast<int>(doubledRank);
        ++seen;
        reach += rank;
        // Subsets too small to reach n1 members with the samples left are no use.
        const std::size_t fewest = n1 + seen > n ? std::max<std::size_t>(1, n1 + seen - n) : 1;
        for (std::size_t k = std::min(seen, n1); k >= fewest; --k) {
            std::uint64_t* to = &ways[k * width];
            const std::uint64_t* from = &ways[(k - 1) * width];
            for (int w = reach; w >= rank; --w) to[w] += from[w - rank];
        }
    }
    const std::uint64_t* sums = &ways[n1 * width];
    std::uint64_t below = 0, above = 0, all = 0;
    for (int w = 0; w <= total; ++w) {
        all += sums[w];
        if (w <= observed) below += sums[w];
        if (w >= observed) above += sums[w];
    }
    return std::min(1.0, 2.0 * static_cast<double>(std::min(below, above)) / static_cast<double>(all));
}

// The normal approximation of U with the variance reduced for ties and the
// continuity correction.
double normalPValue(double u, double n1, double n2, double tieTerm) {
    const double n = n1 + n2;
    const double variance = n1 * n2 / 12.0 * ((n + 1.0) - tieTerm / (n * (n - 1.0)));
    if (variance <= 0.0) return 1.0;
    const double z = std::max(0.0, std::fabs(u - n1 * n2 / 2.0) - 0.5) / std::sqrt(variance);
    return std::min(1.0, std::erfc(z / std::sqrt(2.0)));
}

}  // namespace

RankTest rankTest(const std::vector<double>& a, const std::vector<double>& b, std::size_t exactLimit) {
    RankTest result;
    if (a.empty() || b.empty()) return result;
    const Ranked ranked = rankPooled(a, b);
    std::int64_t observed = 0;  // a's doubled rank sum
    for (std::size_t i = 0; i < a.size(); ++i) observed += ranked.doubledRanks[i];
    const double n1 = static_cast<double>(a.size());
    const double n2 = static_cast<double>(b.size());
    result.u = static_cast<double>(observed) / 2.0 - n1 * (n1 + 1.0) / 2.0;
    result.exact = a.size() + b.size() <= std::min(exactLimit, kExactRankTestLimit);
    result.pValue = result.exact ? exactPValue(ranked.doubledRanks, a.size(), observed)
                                 : normalPValue(result.u, n1, n2, ranked.tieTerm);
    return result;
}

double smallestPValue(std::size_t n1, std::size_t n2) {
    if (n1 == 0 || n2 == 0) return 1.0;
    // C(n1 + n2, n1) as a product; it overflows to infinity, not to nonsense.
    double arrangements = 1.0;
    const std::size_t k = std::min(n1, n2);
    for (std::size_t i = 1; i <= k && arrangements < 1e300; ++i)
        arrangements = arrangements * static_cast<double>(n1 + n2 - k + i) / static_cast<double>(i);
    return std::min(1.0, 2.0 / arrangements);
}

std::size_t samplesNeeded(double alpha) {
    std::size_t n = 1;
    while (smallestPValue(n, n) > alpha) ++n;
    return n;
}

std::vector<double> holmAdjusted(const std::vector<double>& pValues) {
    const std::size_t m = pValues.size();
    std::vector<std::size_t> order(m);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) { return pValues[x] < pValues[y]; });
    std::vector<double> adjusted(m);
    double running = 0.0;
    for (std::size_t i = 0; i < m; ++i) {
        running = std::max(running, std::min(1.0, static_cast<double>(m - i) * pValues[order[i]]));
        adjusted[order[i]] = running;
    }
    return adjusted;
}
