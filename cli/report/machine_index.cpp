#include "cli/report/machine_index.h"

#include <cmath>
#include <cstdio>

#include "cli/run/figures.h"

namespace {

// The geometric mean of the percentages of every figure of `kind`; none
// unless all of them are there.  A mean of logarithms, so that no product
// of thirteen percentages can overflow.
std::optional<double> geometricMean(const SavedRun& run, bool frameRates) {
    double logSum = 0.0;
    int count = 0;
    for (int i = 0; i < kFigureTotal; ++i) {
        if ((figure(i).kind == FigureKind::FrameRate) != frameRates) continue;
        const SavedFigure* f = run.find(figure(i).id);
        if (f == nullptr || !(f->median > 0.0) || !(f->reference > 0.0) || !std::isfinite(f->percent()))
            return std::nullopt;
        logSum += std::log(f->percent());
        ++count;
    }
    return std::exp(logSum / count);
}

}  // namespace

std::optional<double> graphicsIndex(const SavedRun& run) { return geometricMean(run, true); }

std::optional<double> processorIndex(const SavedRun& run) { return geometricMean(run, false); }

std::string indexText(const std::optional<double>& index) {
    if (!index) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", *index);
    return text;
}

std::vector<std::string> indexLines(const SavedRun& run) {
    std::vector<std::string> lines;
    if (const auto graphics = graphicsIndex(run))
        lines.push_back("Graphics index: " + indexText(graphics) +
                        " of the reference machine (geometric mean of Stages 1-6)");
    if (const auto processor = processorIndex(run))
        lines.push_back("Processor index: " + indexText(processor) +
                        " of the reference machine (geometric mean of the one-thread figures of Stages 7 and 8)");
    return lines;
}
