#include "cli/run/settling.h"

#include <cmath>

#include "cli/run/statistics.h"

bool settledWithin(const std::vector<double>& samples, double percent) {
    const Summary s = summarize(samples);
    if (!s.hasInterval) return false;
    const double margin = std::fabs(s.median) * percent / 100.0;
    return s.low >= s.median - margin && s.high <= s.median + margin;
}

std::vector<MeasuredFigure> unsettledFigures(const RunResults& results, double percent) {
    std::vector<MeasuredFigure> unsettled;
    for (int i = 0; i < kFigureTotal; ++i)
        if (!results.samples[i].empty() && !settledWithin(results.samples[i], percent)) unsettled.push_back({i, 1});
    for (const ThreadedResults& r : results.threaded)
        for (int i = 0; i < kFigureTotal; ++i)
            if (!r.samples[i].empty() && !settledWithin(r.samples[i], percent)) unsettled.push_back({i, r.threads});
    return unsettled;
}
