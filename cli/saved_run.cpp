#include "cli/saved_run.h"

#include <algorithm>

#include "cli/compare.h"

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
