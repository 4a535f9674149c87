#include "cli/saved_run.h"

#include <algorithm>

#include "cli/compare.h"
#include "cli/statistics.h"

std::vector<std::string> figureIdsOf(const std::vector<SavedRun>& runs) {
    std::vector<std::string> ids;
    for (const SavedRun& run : runs)
        for (const SavedFigure& f : run.figures)
            if (std::find(ids.begin(), ids.end(), f.id) == ids.end()) ids.push_back(f.id);
    return ids;
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
