#include "cli/run/statistics.h"

#include <algorithm>
#include <cmath>

namespace {

// P(B = i) for B ~ Binomial(n, 1/2), in log space so that large n does not
// overflow.
double binomialHalfProbability(std::size_t n, std::size_t i) {
    const double nd = static_cast<double>(n);
    const double id = static_cast<double>(i);
    return std::exp(std::lgamma(nd + 1) - std::lgamma(id + 1) - std::lgamma(nd - id + 1) - nd * std::log(2.0));
}

}  // namespace

// The coverage of k is 1 - 2 P(B <= k - 1); the sum grows by one term per
// k, so the search is linear in n (a run read from a file may hold a great
// many samples).
OrderInterval medianInterval(std::size_t n) {
    double below = binomialHalfProbability(n, 0);  // P(B <= k - 1)
    OrderInterval best{1, 1.0 - 2.0 * std::min(below, 1.0)};
    for (std::size_t k = 2; k <= n / 2; ++k) {
        below += binomialHalfProbability(n, k - 1);
        const double coverage = 1.0 - 2.0 * std::min(below, 1.0);
        if (coverage < 0.95) break;
        best = OrderInterval{k, coverage};
    }
    return best;
}

Summary summarize(std::vector<double> samples) {
    Summary s;
    s.count = samples.size();
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    s.min = samples.front();
    s.max = samples.back();
    s.median = n % 2 == 1 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2.0;
    if (n >= 3) {
        const OrderInterval oi = medianInterval(n);
        s.hasInterval = true;
        s.low = samples[oi.k - 1];
        s.high = samples[n - oi.k];
        s.coverage = oi.coverage;
    }
    return s;
}

double percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(p / 100.0 * static_cast<double>(values.size()));
    const std::size_t index = rank < 1.0 ? 0 : static_cast<std::size_t>(rank) - 1;
    return values[std::min(index, values.size() - 1)];
}
