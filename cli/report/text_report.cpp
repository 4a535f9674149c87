#include "cli/report/text_report.h"

#include <cstdio>

#include "cli/report/bandwidth.h"
#include "cli/report/safe_text.h"
#include "cli/report/text_join.h"
#include "cli/results/saved_run.h"
#include "cli/run/settling.h"
#include "cli/run/statistics.h"
#include "stages/result_screen.h"

std::string preciseNote(const Figure& f, double median, const std::vector<double>& kernelSeconds, int threads) {
    if (f.kind == FigureKind::Memory)
        return "  [" + trueBandwidthText(median) + "]";
    if (f.kind == FigureKind::Arithmetic) {
        std::vector<double> ops;
        for (const double seconds : kernelSeconds)
            if (seconds > 0.0) ops.push_back(threads * 100000000.0 / seconds);
        if (!ops.empty() && ops.size() == kernelSeconds.size())
            return "  [" + formatNumber("%.0f", summarize(ops).median) + " ops/s by the nanosecond clock]";
    }
    return "";
}

std::string spreadNote(const Summary& s, bool frameRate) {
    if (s.count < 2) return "";
    const char* number = frameRate ? "%.0f" : "%f";
    std::string note = "  median of " + std::to_string(s.count) + "; min " + formatNumber(number, s.min) + ", max " +
                       formatNumber(number, s.max);
    if (s.hasInterval) {
        note += "; interval of the median " + formatNumber(number, s.low) + " .. " + formatNumber(number, s.high) +
                " (" + formatNumber("%.1f", s.coverage * 100.0) + "% coverage)";
    }
    return note;
}

std::vector<std::string> figureLines(const RunResults& results) {
    std::vector<std::string> lines;
    for (int i = 0; i < kFigureTotal; ++i) {
        if (results.samples[i].empty()) continue;
        const Summary s = summarize(results.samples[i]);
        lines.push_back(screenLine(i, s.median) + preciseNote(figure(i), s.median, results.kernelSeconds[i], 1) +
                        spreadNote(s, figure(i).kind == FigureKind::FrameRate));
    }
    return lines;
}

std::vector<std::string> repeatRuleLines(const RunResults& results, const RepeatRule& rule) {
    if (!rule.automatic) return {};
    const std::string within = "+-" + formatNumber("%g", rule.settlePercent) + "%";
    const std::string passes = std::to_string(results.passes) + " passes";
    const std::vector<MeasuredFigure> unsettled = unsettledFigures(results, rule.settlePercent);
    if (unsettled.empty())
        return {"Repeated until settled: " + passes + "; every figure's interval of the median lies within " + within +
                " of the median"};
    std::string names;
    for (const MeasuredFigure& f : unsettled)
        names += (names.empty() ? "" : "; ") + labelWithThreads(figureLabel(f.index), f.threads);
    return {"Repeated " + passes + ", the most allowed; not settled within " + within + ": " + names};
}

std::vector<std::string> frameTimeLines(const RunResults& results) {
    std::vector<std::string> lines;
    for (int stage = 1; stage <= kFrameRateStages; ++stage) {
        const std::vector<FrameTiming>& frames = results.frames[stage - 1];
        if (frames.empty()) continue;
        std::vector<double> total, present, draw;
        for (const FrameTiming& f : frames) {
            total.push_back(static_cast<double>(f.totalNs) / 1e6);
            present.push_back(static_cast<double>(f.presentNs) / 1e6);
            draw.push_back(static_cast<double>(f.totalNs - f.presentNs) / 1e6);
        }
        char text[256];
        std::snprintf(text, sizeof text,
                      "Frame time, %s: median %.3f ms (drawing %.3f, presenting %.3f), 99th percentile %.3f ms "
                      "(drawing %.3f, presenting %.3f), %zu frames",
                      stageName(stage), percentile(total, 50), percentile(draw, 50), percentile(present, 50),
                      percentile(total, 99), percentile(draw, 99), percentile(present, 99), frames.size());
        lines.emplace_back(text);
    }
    return lines;
}

std::vector<std::string> processorLines(const SystemInfo& info) {
    return {std::string("Benchmark Base CPU Spec (=100%): ") + referenceProcessor,
            "Your CPU Spec: " + terminalText(info.cpu),
            "Architecture: " + (info.architecture.empty() ? std::string("unknown") : info.architecture)};
}
