#include "cli/report/html_report.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

#include "cli/report/machine_index.h"
#include "cli/report/safe_text.h"
#include "cli/run/figures.h"
#include "cli/report/text_join.h"
#include "cli/results/utf8.h"
#include "cli/run/figures.h"

namespace {

// Bar chart geometry, in SVG user units.
constexpr double kChartWidth = 750;
constexpr double kPlotLeft = 200;   // run names to the left
constexpr std::size_t kNameCharacters = 28;  // what fits there
constexpr double kPlotWidth = 420;  // percentages to the right
constexpr double kRowHeight = 24;
constexpr double kBarHeight = 14;
constexpr double kTopMargin = 8;

// Index chart geometry: two bars a run.
constexpr double kIndexBarHeight = 12;
constexpr double kIndexBarGap = 3;
constexpr double kIndexRunHeight = 2 * kIndexBarHeight + kIndexBarGap + 12;

// Trend line geometry.
constexpr double kTrendWidth = 240;
constexpr double kTrendHeight = 72;
constexpr double kTrendMargin = 8;

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string percentText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", value);
    return text;
}

// At most `count` characters of UTF-8 text, "..." marking a cut.
std::string shortened(const std::string& text, std::size_t count) {
    std::size_t cut = 0, kept = 0;
    for (; cut < text.size(); ++cut) {
        if (isUtf8Continuation(text[cut])) continue;
        if (kept == count) return text.substr(0, cut) + "...";
        ++kept;
    }
    return text;
}

// Why run `r` cannot be compared directly with the first run; "" when it can.
std::string notComparableWithFirst(const std::vector<SavedRun>& runs, std::size_t r) {
    return r == 0 ? "" : notDirectlyComparable(runs[r], runs.front());
}

// A chart's name for run `r`: "#12 office desktop", cut to fit, with the
// whole of it as the tooltip; a dagger when it is not directly comparable
// with the first run.
std::string chartRowName(const std::vector<SavedRun>& runs, std::size_t r, const std::string& y) {
    const std::string name = runName(runs[r]) + " " + runTitle(runs[r]);
    const bool apart = !notComparableWithFirst(runs, r).empty();
    return concat({"<text x=\"0\" y=\"", y, "\"", apart ? " class=\"not-comparable\"" : "", "><title>", htmlText(name),
                   "</title>", htmlText(shortened(name, kNameCharacters)), apart ? " \xE2\x80\xA0" : "", "</text>\n"});
}

const char* const kStyle = R"css(
:root {
  color-scheme: light dark;
  --bg: #ffffff; --fg: #1f2328; --muted: #59636e; --rule: #d1d9e0; --panel: #f6f8fa;
  --bar: #2f6fb0; --whisker: #1f2328; --reference: #c2410c; --apart: #b42318; --trend: #2f6fb0;
  --graphics: #2f6fb0; --processor: #8250df;
}
@media (prefers-color-scheme: dark) {
  :root {
    --bg: #0d1117; --fg: #e6edf3; --muted: #9198a1; --rule: #3d444d; --panel: #151b23;
    --bar: #4493f8; --whisker: #e6edf3; --reference: #f0883e; --apart: #ff7b72; --trend: #4493f8;
    --graphics: #4493f8; --processor: #ab7df8;
  }
}
body { background: var(--bg); color: var(--fg); font: 15px/1.45 system-ui, sans-serif; margin: 2rem auto;
       max-width: 60rem; padding: 0 1rem; }
h1 { font-size: 1.6rem; margin-bottom: 0.2rem; }
h2 { font-size: 1.25rem; border-bottom: 1px solid var(--rule); padding-bottom: 0.2rem; margin-top: 2rem; }
h3 { font-size: 1.05rem; margin: 1.4rem 0 0.4rem; }
p.lede, .muted { color: var(--muted); }
table { border-collapse: collapse; margin: 0.5rem 0; }
th, td { border: 1px solid var(--rule); padding: 0.25rem 0.6rem; text-align: left; vertical-align: top; }
th { background: var(--panel); }
code { font-size: 0.85em; }
.nowrap { white-space: nowrap; }
figure.figure { margin: 0 0 1rem; padding: 0.5rem 0.75rem; background: var(--panel); border-radius: 6px;
                display: flex; flex-wrap: wrap; align-items: center; gap: 0.5rem 1.5rem; }
figure.figure figcaption { flex-basis: 100%; font-weight: 600; }
figure.figure figcaption .unit { font-weight: normal; color: var(--muted); }
svg text { fill: var(--fg); font: 12px system-ui, sans-serif; }
svg .bar { fill: var(--bar); }
svg .index-graphics { fill: var(--graphics); }
svg .index-processor { fill: var(--processor); }
.swatch { display: inline-block; width: 0.8em; height: 0.8em; margin: 0 0.3em 0 1em; vertical-align: -0.05em; }
.swatch.graphics { background: var(--graphics); }
.swatch.processor { background: var(--processor); }
.not-comparable { color: var(--apart); }
svg text.not-comparable { fill: var(--apart); }
svg .whisker, svg .cap { stroke: var(--whisker); stroke-width: 1.5; }
svg .reference { stroke: var(--reference); stroke-width: 1.5; stroke-dasharray: 4 3; }
svg .reference-label { fill: var(--reference); font-size: 10px; }
svg text.apart { fill: var(--apart); font-weight: 600; }
svg .trend-line { fill: none; stroke: var(--trend); stroke-width: 2; }
svg .trend-point { fill: var(--trend); }
svg .trend-frame { fill: none; stroke: var(--rule); }
.warnings li { margin: 0.2rem 0; }
@media print {
  :root { --bg: #ffffff; --fg: #000000; --muted: #444444; --rule: #999999; --panel: #ffffff;
          --bar: #4a4a4a; --whisker: #000000; --reference: #000000; --apart: #000000; --trend: #000000;
          --graphics: #4a4a4a; --processor: #a0a0a0; }
  body { margin: 0; max-width: none; font-size: 11pt; }
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
  figure.figure { break-inside: avoid; border: 1px solid var(--rule); }
  h2, h3 { break-after: avoid; }
}
)css";

// The largest percentage a chart shows: its bars, whiskers and 100 %, with room to spare.
double scaleOf(const std::vector<const SavedFigure*>& bars) {
    double top = 100.0;
    for (const SavedFigure* f : bars) {
        if (f == nullptr || f->reference <= 0.0) continue;
        top = std::max(top, f->percent());
        if (f->hasInterval) top = std::max(top, f->high / f->reference * 100.0);
    }
    return top * 1.1;
}

std::string barChart(const std::vector<SavedRun>& runs, const std::vector<const SavedFigure*>& bars,
                     const FigureKey& key) {
    const double scale = kPlotWidth / scaleOf(bars);
    const double height = kTopMargin * 2 + kRowHeight * static_cast<double>(runs.size()) + 12;
    const double referenceX = kPlotLeft + 100.0 * scale;
    std::string svg = concat({"<svg class=\"bars\" data-figure=\"", htmlText(key.id), "\" data-threads=\"",
                              std::to_string(key.threads), "\" width=\"", number(kChartWidth),
                              "\" height=\"", number(height), "\" viewBox=\"0 0 ", number(kChartWidth), " ",
                              number(height), "\" xmlns=\"http://www.w3.org/2000/svg\">\n"});
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const double top = kTopMargin + kRowHeight * static_cast<double>(r);
        const double middle = top + kBarHeight / 2;
        const std::string textY = number(middle + 4);
        svg += chartRowName(runs, r, textY);
        const SavedFigure* f = bars[r];
        if (f == nullptr || f->reference <= 0.0) {
            svg += concat({"<text x=\"", number(kPlotLeft), "\" y=\"", textY, "\">not measured</text>\n"});
            continue;
        }
        const std::string run = std::to_string(runs[r].id);
        svg += concat({"<rect class=\"bar\" data-run=\"", run, "\" x=\"", number(kPlotLeft), "\" y=\"", number(top),
                       "\" width=\"", number(f->percent() * scale), "\" height=\"", number(kBarHeight), "\"/>\n"});
        if (f->hasInterval) {
            const std::string low = number(kPlotLeft + f->low / f->reference * 100.0 * scale);
            const std::string high = number(kPlotLeft + f->high / f->reference * 100.0 * scale);
            svg += concat({"<line class=\"whisker\" data-run=\"", run, "\" x1=\"", low, "\" y1=\"", number(middle),
                           "\" x2=\"", high, "\" y2=\"", number(middle), "\"/>\n"});
            for (const std::string& x : {low, high})
                svg += concat({"<line class=\"cap\" x1=\"", x, "\" y1=\"", number(middle - 4), "\" x2=\"", x,
                               "\" y2=\"", number(middle + 4), "\"/>\n"});
        }
        const bool apart = r > 0 && bars[0] != nullptr && intervalsApart(*f, *bars[0]);
        svg += concat({"<text x=\"", number(kPlotLeft + kPlotWidth + 8), "\" y=\"", textY, "\"",
                       apart ? " class=\"apart\"" : "", ">", percentText(f->percent()), apart ? " \xE2\x89\xA0" : "",
                       "</text>\n"});
    }
    const std::string x = number(referenceX);
    svg += concat({"<line class=\"reference\" x1=\"", x, "\" y1=\"2\" x2=\"", x, "\" y2=\"", number(height - 12),
                   "\"/>\n<text class=\"reference-label\" x=\"", number(referenceX - 12), "\" y=\"",
                   number(height - 2), "\">100%</text>\n</svg>\n"});
    return svg;
}

// Both indices of every run, two bars a run against the reference
// machine's 100 %; an index that cannot be computed says why instead.
std::string indexChart(const std::vector<SavedRun>& runs) {
    struct Index {
        const char* name;   // "graphics", "processor"
        const char* title;  // as the legend calls it
        const char* missing;
        std::optional<double> (*of)(const SavedRun&);
    };
    const Index kinds[2] = {{"graphics", "Graphics", "-: not every figure of Stages 1-6 was measured", graphicsIndex},
                            {"processor", "Processor", "-: not every one-thread figure of Stages 7 and 8 was measured",
                             processorIndex}};
    double top = 100.0;
    for (const SavedRun& run : runs)
        for (const Index& kind : kinds)
            if (const auto value = kind.of(run)) top = std::max(top, *value);
    const double scale = kPlotWidth / (top * 1.1);
    const double height = kTopMargin * 2 + kIndexRunHeight * static_cast<double>(runs.size()) + 12;
    std::string svg = concat({"<svg class=\"indices\" width=\"", number(kChartWidth), "\" height=\"", number(height),
                              "\" viewBox=\"0 0 ", number(kChartWidth), " ", number(height),
                              "\" xmlns=\"http://www.w3.org/2000/svg\">\n"});
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const double runTop = kTopMargin + kIndexRunHeight * static_cast<double>(r);
        svg += chartRowName(runs, r, number(runTop + kIndexBarHeight + 5));
        for (int k = 0; k < 2; ++k) {
            const Index& kind = kinds[k];
            const double barTop = runTop + k * (kIndexBarHeight + kIndexBarGap);
            const std::string textY = number(barTop + kIndexBarHeight - 2);
            const std::optional<double> value = kind.of(runs[r]);
            if (!value) {
                svg += concat({"<text x=\"", number(kPlotLeft), "\" y=\"", textY, "\">", kind.title, " ", kind.missing,
                               "</text>\n"});
                continue;
            }
            svg += concat({"<rect class=\"index-", kind.name, "\" data-run=\"", std::to_string(runs[r].id),
                           "\" data-index=\"", kind.name, "\" x=\"", number(kPlotLeft), "\" y=\"", number(barTop),
                           "\" width=\"", number(*value * scale), "\" height=\"", number(kIndexBarHeight), "\"/>\n",
                           "<text x=\"", number(kPlotLeft + kPlotWidth + 8), "\" y=\"", textY, "\">", kind.title, " ",
                           percentText(*value), "</text>\n"});
        }
    }
    const std::string x = number(kPlotLeft + 100.0 * scale);
    svg += concat({"<line class=\"reference\" x1=\"", x, "\" y1=\"2\" x2=\"", x, "\" y2=\"", number(height - 12),
                   "\"/>\n<text class=\"reference-label\" x=\"", number(kPlotLeft + 100.0 * scale - 12), "\" y=\"",
                   number(height - 2), "\">100%</text>\n</svg>\n"});
    return svg;
}

std::string trendChart(const std::vector<const SavedFigure*>& bars) {
    std::vector<std::pair<std::size_t, double>> points;
    for (std::size_t r = 0; r < bars.size(); ++r)
        if (bars[r] != nullptr && bars[r]->reference > 0.0) points.emplace_back(r, bars[r]->percent());
    if (points.size() < 3) return "";
    double low = points[0].second, high = points[0].second;
    for (const auto& p : points) {
        low = std::min(low, p.second);
        high = std::max(high, p.second);
    }
    const double lowShown = low, highShown = high;
    if (high - low < 1e-9) {  // a flat line sits in the middle
        low -= 1.0;
        high += 1.0;
    }
    const double stepX = (kTrendWidth - 2 * kTrendMargin) / static_cast<double>(bars.size() - 1);
    const double spanY = kTrendHeight - 2 * kTrendMargin;
    std::string line, dots;
    for (const auto& p : points) {
        const std::string x = number(kTrendMargin + stepX * static_cast<double>(p.first));
        const std::string y = number(kTrendMargin + (high - p.second) / (high - low) * spanY);
        line += concat({line.empty() ? "" : " ", x, ",", y});
        dots += concat({"<circle class=\"trend-point\" cx=\"", x, "\" cy=\"", y, "\" r=\"3\"/>\n"});
    }
    const std::string width = number(kTrendWidth), height = number(kTrendHeight + 14);
    return concat({"<svg class=\"trend\" width=\"", width, "\" height=\"", height, "\" viewBox=\"0 0 ", width, " ",
                   height, "\" xmlns=\"http://www.w3.org/2000/svg\">\n<rect class=\"trend-frame\" x=\"0.5\" y=\"0.5\" width=\"",
                   number(kTrendWidth - 1), "\" height=\"", number(kTrendHeight - 1),
                   "\"/>\n<polyline class=\"trend-line\" points=\"", line, "\"/>\n", dots, "<text x=\"0\" y=\"",
                   number(kTrendHeight + 12), "\">trend, ", percentText(lowShown), " to ", percentText(highShown),
                   "</text>\n</svg>\n"});
}

std::string runsTable(const std::vector<SavedRun>& runs) {
    std::string html = "<table class=\"runs\">\n<tr><th>Run</th><th>Label</th><th>Date (UTC)</th><th>Processor</th>"
                       "<th>Architecture</th><th>Mode</th><th>Benchmark version</th><th>Command line</th></tr>\n";
    std::string notes;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const SavedRun& run = runs[r];
        std::string command;
        for (const std::string& a : run.commandLine) command += concat({command.empty() ? "" : " ", a});
        const std::string why = notComparableWithFirst(runs, r);
        if (!why.empty())
            notes += concat({"<li>", htmlText(runName(run)), ": ", htmlText(why), "</li>\n"});
        html += concat({"<tr><td", why.empty() ? "" : " class=\"not-comparable\"", ">", htmlText(runName(run)),
                        why.empty() ? "" : " \xE2\x80\xA0", "</td><td>", htmlText(run.label), "</td><td class=\"nowrap\">",
                        htmlText(run.startedAt), "</td><td>", htmlText(run.cpu), "</td><td>", htmlText(run.architecture),
                        "</td><td>", runMode(run), "</td><td>", htmlText(run.benchmarkVersion), "</td><td><code>",
                        htmlText(command), "</code></td></tr>\n"});
    }
    html += "</table>\n";
    if (!notes.empty())
        html += concat({"<p class=\"not-comparable\">\xE2\x80\xA0 Not directly comparable with ",
                        htmlText(runName(runs.front())), ":</p>\n<ul class=\"not-comparable\">\n", notes, "</ul>\n"});
    return html;
}

std::string systemTable(const std::vector<SavedRun>& runs) {
    // Each run's facts by name, and every name once in the order first seen.
    std::vector<std::map<std::string, const std::string*>> facts(runs.size());
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (std::size_t r = 0; r < runs.size(); ++r)
        for (const auto& [name, value] : runs[r].system) {
            if (seen.insert(name).second) names.push_back(name);
            facts[r][name] = &value;
        }
    std::string html = "<table class=\"system\">\n<tr><th></th>";
    for (const SavedRun& run : runs) html += concat({"<th>", htmlText(runName(run)), "</th>"});
    html += "</tr>\n";
    for (const std::string& name : names) {
        html += concat({"<tr><th>", htmlText(name), "</th>"});
        for (const auto& runFacts : facts) {
            const auto it = runFacts.find(name);
            html += concat({"<td>", it == runFacts.end() ? "-" : htmlText(*it->second), "</td>"});
        }
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

std::string warningsList(const std::vector<SavedRun>& runs) {
    std::string html;
    for (const SavedRun& run : runs) {
        html += concat({"<h3>", htmlText(runName(run)), "</h3>\n"});
        if (run.warnings.empty()) {
            html += "<p class=\"muted\">None.</p>\n";
            continue;
        }
        html += "<ul class=\"warnings\">\n";
        for (const std::string& w : run.warnings) html += concat({"<li>", htmlText(w), "</li>\n"});
        html += "</ul>\n";
    }
    return html;
}

}  // namespace

std::string htmlReport(const std::vector<SavedRun>& runs) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"
        "<meta name=\"color-scheme\" content=\"light dark\"/>\n<title>Pelorin Benchmark results</title>\n<style>";
    html += kStyle;
    html += concat({"</style>\n</head>\n<body>\n<h1>Pelorin Benchmark results</h1>\n<h2>Indices</h2>\n<p class=\"lede\">"
                    "The geometric means of each run's percentages of the reference machine, whose 100% is the "
                    "dashed line:<span class=\"swatch graphics\"></span>Graphics, of the frame rates of Stages 1-6;"
                    "<span class=\"swatch processor\"></span>Processor, of the one-thread figures of Stages 7 and 8.",
                    runs.size() > 1 ? " \xE2\x80\xA0 marks a run that is not directly comparable with the first (see Runs)."
                                    : "",
                    "</p>\n<figure class=\"figure\">\n", indexChart(runs), "</figure>\n<h2>Runs</h2>\n", runsTable(runs),
                    "<h2>Figures</h2>\n<p class=\"lede\">Each bar is a figure's median as a percentage of the "
                    "reference machine, whose 100% is the dashed line; the whisker is the interval of the median over "
                    "the repeats."});
    if (runs.size() > 1)
        html += concat({" \xE2\x89\xA0 marks a run whose interval does not overlap ", htmlText(runName(runs.front())),
                        "'s."});
    html += "</p>\n";

    int stage = 0;
    const FigureTable table(runs);
    for (std::size_t row = 0; row < table.keys().size(); ++row) {
        const FigureKey& key = table.keys()[row];
        std::vector<const SavedFigure*> bars;
        for (std::size_t r = 0; r < runs.size(); ++r) bars.push_back(table.at(row, r));
        const SavedFigure* any = table.any(row);
        if (any->stage != stage) {
            stage = any->stage;
            html += concat({"<h3>Stage ", std::to_string(stage), ": ", htmlText(stageName(stage)), "</h3>\n"});
        }
        html += concat({"<figure class=\"figure\">\n<figcaption>", htmlText(labelWithThreads(any->label, key.threads)),
                        " <span class=\"unit\">", htmlText(any->unit), "</span></figcaption>\n", barChart(runs, bars, key),
                        trendChart(bars),
                        "</figure>\n"});
    }
    html += concat({"<h2>System</h2>\n", systemTable(runs), "<h2>Warnings</h2>\n", warningsList(runs)});
    return html + "</body>\n</html>\n";
}
