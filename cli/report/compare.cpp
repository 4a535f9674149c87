#include "cli/report/compare.h"

#include <cstdio>

#include "cli/report/safe_text.h"
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
    char nowText[48], beforeText[48];
    std::snprintf(nowText, sizeof nowText, number, now.median);
    std::snprintf(beforeText, sizeof beforeText, number, before->median);
    const bool apart =
        now.hasInterval && before->hasInterval && intervalsApart(now.low, now.high, before->low, before->high);
    std::snprintf(line, sizeof line, "  %-30s %16s %s  was %16s  %+8.2f%%%s", label.c_str(), nowText, unit.c_str(),
                  beforeText, changePercent(now.median, before->median), apart ? "  *" : "");
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
