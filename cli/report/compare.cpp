#include "cli/report/compare.h"

#include <cstdio>

#include "cli/report/bandwidth.h"
#include "cli/report/safe_text.h"
#include "cli/report/text_join.h"
#include "cli/run/statistics.h"

double changePercent(double now, double before) { return before == 0.0 ? 0.0 : (now - before) / before * 100.0; }

namespace {

// Figure i of this run, measured with `threads` threads, beside the saved
// figure of the same id and thread count.
std::string compareLine(int i, const std::vector<double>& samples, int threads, const SavedRun& saved) {
    const Summary now = summarize(samples);
    const std::string label = labelWithThreads(figureLabel(i), threads);
    const std::string unit = figureUnit(i);
    const char* number = figure(i).kind == FigureKind::FrameRate ? "%.1f" : "%.3f";
    char line[1024];  // room for any change in percent, however large
    const SavedFigure* before = saved.find(figure(i).id, threads);
    if (before == nullptr) {
        std::snprintf(line, sizeof line, "  %-30s not in the saved run", label.c_str());
        return line;
    }
    // Each number in 16 columns; an "MB/S" figure's true bandwidth after it.
    const bool bandwidth = figure(i).kind == FigureKind::Memory;
    auto shown = [&](double value) {
        std::string text = formatNumber(number, value);
        if (text.size() < 16) text.insert(0, 16 - text.size(), ' ');
        return text;
    };
    auto trueBandwidth = [&](double value) { return bandwidth ? concat({" [", trueBandwidthText(value), "]"}) : ""; };
    const bool apart =
        now.hasInterval && before->hasInterval && intervalsApart(now.low, now.high, before->low, before->high);
    std::snprintf(line, sizeof line, "  %-30s %s %s%s  was %s%s  %+8.2f%%%s", label.c_str(), shown(now.median).c_str(),
                  unit.c_str(), trueBandwidth(now.median).c_str(), shown(before->median).c_str(),
                  trueBandwidth(before->median).c_str(), changePercent(now.median, before->median), apart ? "  *" : "");
    return line;
}

}  // namespace

std::vector<std::string> compareLines(const RunResults& results, const SavedRun& saved, const std::string& savedName) {
    std::vector<std::string> lines;
    // The saved run is named by its label, else its processor.
    const std::string title = saved.label.empty() ? saved.cpu : saved.label;
    lines.push_back("Compared with " + terminalText(savedName) + (title.empty() ? "" : " (" + terminalText(title) + ")") +
                    "; * marks intervals of the median that do not overlap:");
    for (int i = 0; i < kFigureTotal; ++i)
        if (!results.samples[i].empty()) lines.push_back(compareLine(i, results.samples[i], 1, saved));
    for (const ThreadedResults& r : results.threaded)
        for (int i = 0; i < kFigureTotal; ++i)
            if (!r.samples[i].empty()) lines.push_back(compareLine(i, r.samples[i], r.threads, saved));
    return lines;
}
