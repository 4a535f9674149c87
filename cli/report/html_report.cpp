#include "cli/report/html_report.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "cli/report/bandwidth.h"
#include "cli/report/compare.h"
#include "cli/report/comparability.h"
#include "cli/report/html_bars.h"
#include "cli/report/html_trend.h"
#include "cli/report/machine_index.h"
#include "cli/report/safe_text.h"
#include "cli/report/system_facts.h"
#include "cli/report/text_join.h"
#include "cli/run/figures.h"
#include "stages/result_screen.h"

namespace {

const char* const kDagger = "\xE2\x80\xA0";

// What each stage measures, in a line.
const char* const kStageWork[8] = {
    "Frames drawn per second, each of 7,200 single-character text calls.",
    "Frames drawn per second, each of 880 outlined Japanese characters.",
    "Whole-frame copies to the window per second, scrolling.",
    "Whole-frame zoomed copies to the window per second.",
    "Frames drawn per second, each of 1,024 keyed 32\xC3\x97" "32 sprites over the wallpaper.",
    "Frames drawn per second, each of the same sprites alpha-blended.",
    "Reading, writing and copying a 256 MiB region with 32-bit, MMX and SSE accesses. \"MB/S\" is the "
    "benchmark's own scale, four times the mebibytes moved per second; the true bandwidth is beside it.",
    "Integer add, subtract, multiply and divide loops: operations per second.",
};

// The runs of a report and what the page says about each of them.
struct Page {
    const std::vector<SavedRun>& runs;
    std::vector<std::string> apart;  // why a run is not comparable with the first; "" when it is
    std::vector<std::vector<std::size_t>> groups;  // the runs each trend line joins

    explicit Page(const std::vector<SavedRun>& r) : runs(r), groups(trendGroups(r)) {
        for (std::size_t i = 0; i < runs.size(); ++i)
            apart.push_back(i == 0 ? "" : notComparableWith(runs[i], runs.front()));
    }
    std::string firstName() const { return runName(runs.front()); }
    // What a trend's runs share: "office desktop, offscreen".
    std::string groupName(const std::vector<std::size_t>& group) const {
        const SavedRun& run = runs[group.front()];
        return concat({runTitle(run), ", ", runMode(run)});
    }
};

// A figure's median with its unit.
std::string valueText(const SavedFigure& f) {
    if (f.unit == "fps")
        return concat({formatNumber(f.median == std::floor(f.median) ? "%.0f" : "%.1f", f.median), " fps"});
    if (onBandwidthScale(f.unit)) return concat({formatNumber("%.1f", f.median), " MB/S"});
    if (f.unit == "times/S") return concat({formatNumber("%.0f", f.median), " times/S"});
    return concat({formatNumber("%.2f", f.median), " ", f.unit});
}

std::string changeAgainstFirst(double now, double first) { return formatNumber("%+.1f%%", changePercent(now, first)); }

BarRow rowOf(const Page& page, std::size_t r) {
    BarRow row;
    row.runId = page.runs[r].id;
    row.name = runName(page.runs[r]);
    row.title = runTitle(page.runs[r]);
    row.notComparable = !page.apart[r].empty();
    return row;
}

std::string figureChart(const Page& page, const FigureTable& table, std::size_t keyRow) {
    const FigureKey& key = table.keys()[keyRow];
    const SavedFigure* first = table.at(keyRow, 0);
    BarChart chart;
    chart.attributes = concat({" data-figure=\"", htmlText(key.id), "\" data-threads=\"", std::to_string(key.threads), "\""});
    chart.valueHeading = "Median";
    chart.bandwidthColumn = onBandwidthScale(table.any(keyRow)->unit);
    chart.firstRunName = page.firstName();
    chart.missing = "not measured";
    for (std::size_t r = 0; r < page.runs.size(); ++r) {
        BarRow row = rowOf(page, r);
        const SavedFigure* f = table.at(keyRow, r);
        if (f != nullptr && f->reference > 0.0) {
            row.measured = true;
            row.percent = f->percent();
            row.hasInterval = f->hasInterval;
            row.lowPercent = f->low / f->reference * 100.0;
            row.highPercent = f->high / f->reference * 100.0;
            row.value = valueText(*f);
            row.trueBandwidth = trueBandwidthText(f->median);
            row.apart = r > 0 && !row.notComparable && first != nullptr && intervalsApart(*f, *first);
            if (r > 0 && first != nullptr && first->median > 0.0) row.change = changeAgainstFirst(f->median, first->median);
        } else if (f != nullptr) {
            row.missing = concat({valueText(*f), "; no reference figure"});  // from a file that lacks it
        }
        chart.rows.push_back(std::move(row));
    }
    std::string html = barChartHtml(chart);
    std::string trends;
    for (const std::vector<std::size_t>& group : page.groups) {
        std::vector<TrendPoint> points;
        for (const std::size_t r : group)
            if (const SavedFigure* f = table.at(keyRow, r); f != nullptr && f->reference > 0.0)
                points.push_back({page.runs[r].id, f->percent()});
        trends += trendHtml(page.groupName(group), points);
    }
    if (!trends.empty()) html += concat({"<div class=\"trends\">\n", trends, "</div>\n"});
    return html;
}

struct IndexKind {
    const char* id;       // "graphics"
    const char* title;    // "Graphics index"
    const char* of;       // what it is the mean of
    std::optional<double> (*value)(const SavedRun&);
};
const IndexKind kIndexKinds[2] = {
    {"graphics", "Graphics index", "the frame rates of Stages 1-6", graphicsIndex},
    {"processor", "Processor index", "the one-thread figures of Stages 7 and 8", processorIndex},
};

std::string indexChart(const Page& page, const IndexKind& kind) {
    BarChart chart;
    chart.attributes = concat({" data-index=\"", kind.id, "\""});
    chart.firstRunName = page.firstName();
    chart.missing = "not all figures measured";
    const std::optional<double> first = kind.value(page.runs.front());
    std::vector<std::optional<double>> values;
    for (const SavedRun& run : page.runs) values.push_back(kind.value(run));
    if (std::none_of(values.begin(), values.end(), [](const std::optional<double>& v) { return v.has_value(); }))
        return concat({"<p class=\"muted\">", kind.title, ": no run measured every one of ", kind.of, ".</p>\n"});
    for (std::size_t r = 0; r < page.runs.size(); ++r) {
        BarRow row = rowOf(page, r);
        if (values[r]) {
            row.measured = true;
            row.percent = *values[r];
            if (r > 0 && first) row.change = changeAgainstFirst(*values[r], *first);
        }
        chart.rows.push_back(std::move(row));
    }
    std::string html = concat({"<section class=\"figure\">\n<h3>", kind.title, " <span class=\"unit\">of ", kind.of,
                               "</span></h3>\n", barChartHtml(chart)});
    std::string trends;
    for (const std::vector<std::size_t>& group : page.groups) {
        std::vector<TrendPoint> points;
        for (const std::size_t r : group)
            if (values[r]) points.push_back({page.runs[r].id, *values[r]});
        trends += trendHtml(page.groupName(group), points);
    }
    if (!trends.empty()) html += concat({"<div class=\"trends\">\n", trends, "</div>\n"});
    return html + "</section>\n";
}

// An argument as a shell would need it typed: quoted when it holds more
// than letters, digits and the marks options and paths use.
std::string shellWord(const std::string& word) {
    if (!word.empty() &&
        word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_@%+=:,./-") ==
            std::string::npos)
        return word;
    std::string quoted = "'";
    for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// The command line with each argument kept whole, so that a long line
// wraps between arguments; an argument too long for any cell may break.
std::string commandHtml(const std::vector<std::string>& words) {
    std::string html;
    for (const std::string& word : words) {
        const std::string shown = shellWord(word);
        html += concat({html.empty() ? "" : " ", "<span class=\"", shown.size() > 40 ? "arg long" : "arg", "\">",
                        htmlText(shown), "</span>"});
    }
    return html;
}

// "2026-12-07T09:46:42Z" as "2026-12-07 09:46:42", the date and the time
// each kept on one line; other text as it is.
std::string dateHtml(const std::string& iso) {
    if (iso.size() == 20 && iso[10] == 'T' && iso[19] == 'Z')
        return concat({"<span class=\"nowrap\">", htmlText(iso.substr(0, 10)), "</span> <span class=\"nowrap\">",
                       htmlText(iso.substr(11, 8)), "</span>"});
    return iso.empty() ? "unknown" : htmlText(iso);
}

std::string orUnknown(const std::string& text) { return text.empty() ? "unknown" : text; }

std::string runsTable(const Page& page) {
    std::string html = "<div class=\"wide\"><table class=\"runs\">\n<tr><th>Run</th><th>Label</th><th>Date (UTC)</th>"
                       "<th>Processor</th><th>Mode</th><th>Benchmark</th><th>Command line</th></tr>\n";
    std::string notes;
    for (std::size_t r = 0; r < page.runs.size(); ++r) {
        const SavedRun& run = page.runs[r];
        const std::string& why = page.apart[r];
        if (!why.empty()) notes += concat({"<li>", htmlText(runName(run)), ": ", htmlText(why), "</li>\n"});
        html += concat({"<tr><td class=\"nowrap", why.empty() ? "" : " not-comparable", "\">", htmlText(runName(run)),
                        why.empty() ? "" : concat({" ", kDagger}), "</td><td>", htmlText(run.label), "</td><td>",
                        dateHtml(run.startedAt), "</td><td>", htmlText(orUnknown(run.cpu)), "</td><td>", runMode(run),
                        "</td><td>", htmlText(orUnknown(run.benchmarkVersion)), " on ",
                        htmlText(orUnknown(run.architecture)), "</td><td><code class=\"command\">",
                        commandHtml(run.commandLine), "</code></td></tr>\n"});
    }
    html += "</table></div>\n";
    if (!notes.empty())
        html += concat({"<p class=\"not-comparable\">", kDagger, " Not directly comparable with ", htmlText(page.firstName()),
                        ", the first run shown; its bars are drawn hollow:</p>\n<ul class=\"not-comparable\">\n", notes,
                        "</ul>\n"});
    return html;
}

std::string systemTable(const Page& page) {
    // Each run's facts by name, and every name once in the order first seen.
    const std::vector<SavedRun>& runs = page.runs;
    std::vector<std::map<std::string, const std::string*>> facts(runs.size());
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (std::size_t r = 0; r < runs.size(); ++r)
        for (const auto& [name, value] : runs[r].system) {
            if (name == "reference_cpu") continue;  // the same for every run, and named at the top
            if (seen.insert(name).second) names.push_back(name);
            facts[r].emplace(name, &value);
        }
    std::string html = "<div class=\"wide\"><table class=\"system\">\n<tr><th class=\"fact\"></th>";
    for (const SavedRun& run : runs) html += concat({"<th>", htmlText(runName(run)), "</th>"});
    html += "</tr>\n";
    for (const std::string& name : names) {
        html += concat({"<tr><th>", htmlText(factHeading(name)), "</th>"});
        for (std::size_t r = 0; r < runs.size(); ++r) {
            const auto it = facts[r].find(name);
            html += concat({"<td>", it == facts[r].end() ? "-" : htmlText(shownFact(runs[r], name, *it->second)), "</td>"});
        }
        html += "</tr>\n";
    }
    return html + "</table></div>\n";
}

// Each warning once, after the runs it was given for.
std::string warningsList(const std::vector<SavedRun>& runs) {
    std::vector<std::string> texts;
    std::map<std::string, std::string> runsOf;  // warning -> "#1, #4"
    for (const SavedRun& run : runs)
        for (const std::string& w : run.warnings) {
            std::string& names = runsOf[w];
            if (names.empty()) texts.push_back(w);
            const std::string name = runName(run);
            if (names.size() < name.size() || names.compare(names.size() - name.size(), name.size(), name) != 0)
                names += concat({names.empty() ? "" : ", ", name});
        }
    if (texts.empty()) return "<p class=\"muted\">None.</p>\n";
    std::string html = "<ul class=\"warnings\">\n";
    for (const std::string& w : texts)
        html += concat({"<li><span class=\"runs\">", htmlText(runsOf[w]), ":</span> ", htmlText(w), "</li>\n"});
    return html + "</ul>\n";
}

const char* const kPageStyle = R"css(
:root {
  color-scheme: light dark;
  --bg: #ffffff; --fg: #1f2328; --muted: #59636e; --rule: #d1d9e0; --panel: #f6f8fa;
  --bar: #2f6fb0; --whisker: #1f2328; --reference: #c2410c; --apart: #b42318; --trend: #2f6fb0;
}
@media (prefers-color-scheme: dark) {
  :root {
    --bg: #0d1117; --fg: #e6edf3; --muted: #9198a1; --rule: #3d444d; --panel: #151b23;
    --bar: #4493f8; --whisker: #e6edf3; --reference: #f0883e; --apart: #ff7b72; --trend: #4493f8;
  }
}
body { background: var(--bg); color: var(--fg); font: 15px/1.45 system-ui, sans-serif; margin: 2rem auto;
       max-width: 62rem; padding: 0 1rem; }
h1 { font-size: 1.6rem; margin-bottom: 0.4rem; }
h2 { font-size: 1.25rem; border-bottom: 1px solid var(--rule); padding-bottom: 0.2rem; margin-top: 2rem; }
h3 { font-size: 1.05rem; margin: 1.4rem 0 0.3rem; }
p { margin: 0.4rem 0; }
.lede, .muted { color: var(--muted); }
table { border-collapse: collapse; margin: 0.5rem 0; }
th, td { border: 1px solid var(--rule); padding: 0.25rem 0.6rem; text-align: left; vertical-align: top; }
th { background: var(--panel); }
.wide { overflow-x: auto; }
.nowrap { white-space: nowrap; }
code { font-size: 0.85em; }
code.command .arg { white-space: nowrap; }
code.command .arg.long { white-space: normal; overflow-wrap: anywhere; }
section.figure { margin: 0 0 0.8rem; padding: 0.4rem 0.75rem 0.5rem; background: var(--panel); border-radius: 6px; }
section.figure h3, section.figure h4 { margin: 0; font-size: 1rem; }
section.figure .unit { font-weight: normal; color: var(--muted); }
p.stage-work { color: var(--muted); margin: 0 0 0.5rem; }
.not-comparable { color: var(--apart); }
.warnings li { margin: 0.2rem 0; }
.warnings .runs { font-weight: 600; }
table.runs { font-size: 0.92em; }
table.system { width: 100%; table-layout: fixed; font-size: 0.92em; }
table.system td { overflow-wrap: anywhere; }
table.system th.fact { width: 11rem; }
@media print {
  :root { --bg: #ffffff; --fg: #000000; --muted: #444444; --rule: #999999; --panel: #ffffff;
          --bar: #555555; --whisker: #000000; --reference: #000000; --apart: #000000; --trend: #000000; }
  body { margin: 0; max-width: none; font-size: 10pt; }
  * { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
  section.figure { break-inside: avoid; border: 1px solid var(--rule); }
  h2, h3 { break-after: avoid; }
  .wide { overflow: visible; }
}
)css";

}  // namespace

std::string htmlReport(const std::vector<SavedRun>& runs) {
    std::string html = concat({"<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\"/>\n"
                               "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"
                               "<meta name=\"color-scheme\" content=\"light dark\"/>\n"
                               "<title>Pelorin Benchmark results</title>\n<style>",
                               kPageStyle, kBarChartStyle, kTrendStyle, "</style>\n</head>\n<body>\n"});
    if (runs.empty()) return html + "<h1>Pelorin Benchmark results</h1>\n<p>No run to show.</p>\n</body>\n</html>\n";
    const Page page(runs);
    const std::string first = htmlText(page.firstName());
    html += concat({"<h1>Pelorin Benchmark results</h1>\n<p class=\"lede\">Every figure counts work done per second: "
                    "<strong>higher is better</strong> for all of them. A percentage compares a figure with the same "
                    "measurement on the reference machine, ",
                    htmlText(referenceProcessor),
                    ", which is 100%. Memory figures are on the benchmark's own \"MB/S\" scale, four times the "
                    "mebibytes moved per second; the true bandwidth in GB/s (10<sup>9</sup> bytes a second) is given "
                    "beside each.</p>\n<h2>Runs</h2>\n",
                    runsTable(page)});
    const std::string marks = concat(
        {" Changes are against ", first, ", the first run shown. A hollow bar and ", kDagger,
         " mark a run that is not directly comparable with it (another machine, mode, version or architecture); "
         "a trend line joins only runs of one machine and mode, in date order, from three such runs on."});
    html += concat({"<h2>Indices</h2>\n<p class=\"lede\">The geometric means of each run's percentages of the reference "
                    "machine, whose 100% is the dashed line; an index is given only when every figure it is made of "
                    "was measured.",
                    runs.size() > 1 ? marks : "", "</p>\n"});
    for (const IndexKind& kind : kIndexKinds) html += indexChart(page, kind);
    html += concat({"<h2>Figures</h2>\n<p class=\"lede\">Each bar is a figure's median as a percentage of the reference "
                    "machine, whose 100% is the dashed line; the whisker is the interval of the median over the "
                    "repeats.",
                    runs.size() > 1 ? concat({" \xE2\x89\xA0 marks a run whose interval does not overlap ", first, "'s."})
                                    : "",
                    "</p>\n"});
    int stage = -1;
    const FigureTable table(runs);
    for (std::size_t row = 0; row < table.keys().size(); ++row) {
        const SavedFigure* any = table.any(row);
        if (any->stage != stage) {
            stage = any->stage;
            if (stage >= 1 && stage <= 8)
                html += concat({"<h3>Stage ", std::to_string(stage), ": ", htmlText(stageName(stage)),
                                "</h3>\n<p class=\"stage-work\">", htmlText(kStageWork[stage - 1]), "</p>\n"});
            else
                html += "<h3>Figures of no known stage</h3>\n";
        }
        html += concat({"<section class=\"figure\">\n<h4>", htmlText(labelWithThreads(any->label, table.keys()[row].threads)),
                        " <span class=\"unit\">", htmlText(any->unit), "</span></h4>\n", figureChart(page, table, row),
                        "</section>\n"});
    }
    html += concat({"<h2>System</h2>\n", systemTable(page), "<h2>Warnings</h2>\n", warningsList(runs)});
    return html + "</body>\n</html>\n";
}
