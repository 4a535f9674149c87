#include "cli/run/thread_figures.h"

#include "cli/run/statistics.h"
#include "kernels/team_timing.h"

std::vector<double> perThreadMedians(const ThreadedResults& r, int index) {
    std::vector<double> medians;
    const auto& passes = r.perThread[index];
    for (std::size_t t = 0; !passes.empty() && t < passes.front().size(); ++t) {
        std::vector<double> values;
        for (const std::vector<double>& pass : passes)
            if (t < pass.size()) values.push_back(pass[t]);
        medians.push_back(summarize(values).median);
    }
    return medians;
}

double spreadMedian(const ThreadedResults& r, int index) {
    std::vector<double> spreads;
    for (const std::vector<double>& pass : r.perThread[index]) spreads.push_back(threadSpreadPercent(pass));
    return summarize(spreads).median;
}
