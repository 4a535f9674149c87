#include "cli/results/saved_run.h"

#include <algorithm>

#include "cli/run/statistics.h"

std::vector<FigureKey> figureKeysOf(const std::vector<SavedRun>& runs) {
    std::vector<FigureKey> keys;
    for (const SavedRun& run : runs)
        for (const SavedFigure& f : run.figures)
            if (std::none_of(keys.begin(), keys.end(),
                             [&](const FigureKey& k) { return k.id == f.id && k.threads == f.threads; }))
                keys.push_back({f.id, f.threads});
    return keys;
}

std::string labelWithThreads(const std::string& label, int threads) {
    return threads == 1 ? label : label + ", " + std::to_string(threads) + " threads";
}

std::string notDirectlyComparable(const SavedRun& a, const SavedRun& b) {
    std::string reason;
    auto differ = [&](const std::string& x, const std::string& y, const std::string& what) {
        if (x.empty() || y.empty() || x == y) return;
        reason += (reason.empty() ? "" : "; ") + what + " " + x + " and " + y;
    };
    differ(a.architecture, b.architecture, "measured on");
    differ(a.benchmarkVersion, b.benchmarkVersion, "measured by benchmark versions");
    return reason;
}

bool intervalsApart(const SavedFigure& a, const SavedFigure& b) {
    return a.hasInterval && b.hasInterval && intervalsApart(a.low, a.high, b.low, b.high);
}

void setSamples(SavedFigure& figure, std::vector<double> samples) {
    const Summary s = summarize(samples);
    figure.samples = std::move(samples);
    figure.median = s.median;
    figure.hasInterval = s.hasInterval;
    figure.low = s.low;
    figure.high = s.high;
    figure.coverage = s.coverage;
}
