#include "cli/report/threaded_report.h"

#include <cstdio>

#include "cli/report/text_report.h"
#include "cli/run/thread_figures.h"
#include "cli/run/statistics.h"

namespace {

std::string threadsName(int threads) { return std::to_string(threads) + (threads == 1 ? " thread" : " threads"); }

// The one-thread figures and each thread count's, as columns.
struct Column {
    int threads;
    const std::vector<double>* samples;  // kFigureTotal of them
};

std::vector<Column> columns(const RunResults& results) {
    std::vector<Column> cols;
    cols.push_back(Column{1, results.samples});
    for (const ThreadedResults& r : results.threaded) cols.push_back(Column{r.threads, r.samples});
    return cols;
}

}  // namespace

std::vector<std::string> threadedFigureLines(const RunResults& results) {
    std::vector<std::string> lines;
    for (const ThreadedResults& r : results.threaded) {
        std::string heading = "With " + threadsName(r.threads) + " on processors";
        for (std::size_t t = 0; t < r.cpus.size(); ++t) heading += (t == 0 ? " " : ", ") + std::to_string(r.cpus[t]);
        lines.push_back(heading + ":");
        for (int i = 0; i < kFigureTotal; ++i) {
            if (r.samples[i].empty()) continue;
            const Summary s = summarize(r.samples[i]);
            std::string perThread = "  each thread";
            char number[64];
            const char* pattern = figure(i).kind == FigureKind::Memory ? " %.1f" : " %.0f";
            for (const double v : perThreadMedians(r, i)) {
                std::snprintf(number, sizeof number, pattern, v);
                perThread += number;
            }
            std::snprintf(number, sizeof number, " (spread %.1f%%)", spreadMedian(r, i));
            lines.push_back("  " + screenLine(i, s.median) + preciseNote(figure(i), s.median, r.kernelSeconds[i], r.threads) +
                            perThread + number + spreadNote(s, false));
        }
    }
    return lines;
}

std::vector<std::string> scalingLines(const RunResults& results) {
    if (results.threaded.empty()) return {};
    const std::vector<Column> cols = columns(results);
    char cell[96];
    std::string header = "  " + std::string(28, ' ');
    for (const Column& c : cols) {
        std::snprintf(cell, sizeof cell, "%26s", threadsName(c.threads).c_str());
        header += cell;
    }
    std::vector<std::string> lines = {"Scaling with threads (median figure; speed-up over one thread):", header};
    for (int i = 0; i < kFigureTotal; ++i) {
        if (figure(i).kind == FigureKind::FrameRate) continue;
        std::snprintf(cell, sizeof cell, "  %-28s", figureLabel(i).c_str());
        std::string row = cell;
        bool any = false;
        const bool haveOne = !results.samples[i].empty();
        const double one = haveOne ? summarize(results.samples[i]).median : 0.0;
        for (const Column& c : cols) {
            if (c.samples[i].empty()) {
                std::snprintf(cell, sizeof cell, "%26s", "-");
            } else {
                const double median = summarize(c.samples[i]).median;
                if (haveOne && one > 0.0)
                    std::snprintf(cell, sizeof cell, "%18.1f x%-6.2f", median, median / one);
                else
                    std::snprintf(cell, sizeof cell, "%18.1f        ", median);
                any = true;
            }
            row += cell;
        }
        if (any) lines.push_back(row + "  " + figureUnit(i));
    }
    return lines;
}
