// The HTML report read back as a drawing: every bar as long as its
// figure's percentage of the reference machine, every whisker spanning its
// interval, the marks and trend lines where they belong, nothing fetched.
// The page is also left in the documents folder for the browser check.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>

#include "cli/cli_fixture.h"
#include "cli/report/html_report.h"
#include "cli/report/table_export.h"

namespace {

SavedFigure figureOf(const char* id, int stage, const char* label, const char* unit, double reference,
                     std::vector<double> samples) {
    SavedFigure f;
    f.id = id;
    f.stage = stage;
    f.label = label;
    f.unit = unit;
    f.reference = reference;
    setSamples(f, std::move(samples));
    return f;
}

// Three runs: the second overlaps the first everywhere, the third is apart
// from it in Font Speed 1; the second did not measure Calc.
std::vector<SavedRun> threeRuns() {
    std::vector<SavedRun> runs(3);
    const double scale[3] = {1.0, 1.04, 1.3};
    for (int r = 0; r < 3; ++r) {
        SavedRun& run = runs[static_cast<std::size_t>(r)];
        run.id = 10 + r;
        run.startedAt = "2026-12-0" + std::to_string(r + 1) + "T10:00:00Z";
        run.commandLine = {"pelorin-cli", "--repeat", "5"};
        run.cpu = r == 2 ? "Faster CPU <v2> & more" : "Test CPU @ 1.0GHz";
        run.architecture = r == 1 ? "aarch64" : "x86_64";
        run.system = {{"cpu", run.cpu}, {"architecture", run.architecture}, {"cores", "8"}};
        const double k = scale[r];
        run.figures.push_back(figureOf("FontSpeed1", 1, "Font Speed 1", "fps", 45, {90 * k, 95 * k, 100 * k, 97 * k, 93 * k}));
        run.figures.push_back(figureOf("DrawSpriteSpeed", 5, "Draw Sprite Speed", "fps", 60, {30 * k, 33 * k, 31 * k}));
        run.figures.push_back(figureOf("read1", 7, "Read Memory", "MB/S", 52798.95, {80000 * k, 82000 * k, 79000 * k}));
        run.figures.push_back(figureOf("copy3", 7, "Copy Memory (SSE)", "MB/S", 30000, {20000 * k}));
        if (r != 1) run.figures.push_back(figureOf("calc_add", 8, "Calc ADD", "times/S", 806451612.0, {9e8 * k, 9.5e8 * k, 1e9 * k}));
    }
    runs[0].warnings = {"the load average was 3 on 2 cores"};
    return runs;
}

double attribute(const std::string& element, const char* name) {
    const std::string key = std::string(" ") + name + "=\"";
    const std::size_t at = element.find(key);
    EXPECT_NE(at, std::string::npos) << name << " in " << element;
    return at == std::string::npos ? 0.0 : std::strtod(element.c_str() + at + key.size(), nullptr);
}

// The chart of one figure: from its <svg> to its </svg>.
std::string chartOf(const std::string& html, const std::string& id) {
    const std::size_t start = html.find("<svg class=\"bars\" data-figure=\"" + id + "\"");
    if (start == std::string::npos) return "";
    return html.substr(start, html.find("</svg>", start) - start);
}

std::string elementOf(const std::string& chart, const std::string& start) {
    const std::size_t at = chart.find(start);
    if (at == std::string::npos) return "";
    return chart.substr(at, chart.find("/>", at) - at);
}

TEST(HtmlReport, BarsAndWhiskersMatchTheFigures) {
    const std::vector<SavedRun> runs = threeRuns();
    const std::string html = htmlReport(runs);
    std::ofstream(documentsFolder() + "/report.html", std::ios::binary | std::ios::trunc) << html;

    int bars = 0, whiskers = 0;
    for (const SavedFigure& any : runs[0].figures) {
        const std::string chart = chartOf(html, any.id);
        ASSERT_FALSE(chart.empty()) << any.id;
        // The dashed 100 % line gives the scale: the plot starts at the
        // bars' x, and 100 % ends at the line.
        const std::string reference = elementOf(chart, "<line class=\"reference\"");
        ASSERT_FALSE(reference.empty());
        const double hundred = attribute(reference, "x1");
        for (const SavedRun& run : runs) {
            const SavedFigure* f = run.find(any.id);
            const std::string bar = elementOf(chart, "<rect class=\"bar\" data-run=\"" + std::to_string(run.id) + "\"");
            if (f == nullptr) {
                EXPECT_TRUE(bar.empty()) << any.id << " of run " << run.id;
                continue;
            }
            ASSERT_FALSE(bar.empty()) << any.id << " of run " << run.id;
            ++bars;
            const double x0 = attribute(bar, "x");
            const double perCent = (hundred - x0) / 100.0;
            // Coordinates are written to 0.01: each may be 0.005 off, and
            // the scale with them.
            const double tolerance = 0.006 * (1.0 + f->median / f->reference);
            EXPECT_NEAR(attribute(bar, "width"), f->median / f->reference * 100.0 * perCent, tolerance) << any.id;

            const std::string whisker =
                elementOf(chart, "<line class=\"whisker\" data-run=\"" + std::to_string(run.id) + "\"");
            if (!f->hasInterval) {
                EXPECT_TRUE(whisker.empty()) << any.id;
                continue;
            }
            ASSERT_FALSE(whisker.empty()) << any.id;
            ++whiskers;
            EXPECT_NEAR(attribute(whisker, "x1"), x0 + f->low / f->reference * 100.0 * perCent,
                        0.006 * (1.0 + f->low / f->reference))
                << any.id;
            EXPECT_NEAR(attribute(whisker, "x2"), x0 + f->high / f->reference * 100.0 * perCent,
                        0.006 * (1.0 + f->high / f->reference))
                << any.id;
        }
    }
    EXPECT_EQ(bars, 14);
    EXPECT_EQ(whiskers, 11);
    EXPECT_NE(chartOf(html, "calc_add").find("not measured"), std::string::npos);
}

TEST(HtmlReport, MarksTrendsDescriptionsAndNothingFetched) {
    const std::vector<SavedRun> runs = threeRuns();
    const std::string html = htmlReport(runs);

    // A run is marked where its interval and the first run's share no point.
    for (const SavedFigure& first : runs[0].figures) {
        int apart = 0;
        for (std::size_t r = 1; r < runs.size(); ++r)
            if (const SavedFigure* f = runs[r].find(first.id); f && f->hasInterval && first.hasInterval)
                apart += f->high < first.low || first.high < f->low;
        const std::string chart = chartOf(html, first.id);
        std::size_t marks = 0;
        for (std::size_t at = 0; (at = chart.find("class=\"apart\"", at)) != std::string::npos; ++at) ++marks;
        EXPECT_EQ(marks, static_cast<std::size_t>(apart)) << first.id;
    }
    // Font Speed 1: run 11 (x1.04) overlaps run 10, run 12 (x1.3) does not.
    const std::string font = chartOf(html, "FontSpeed1");
    EXPECT_NE(font.find("class=\"apart\">274.4% \xE2\x89\xA0"), std::string::npos) << font;
    EXPECT_EQ(font.find("class=\"apart\">219.6%"), std::string::npos) << font;
    EXPECT_NE(font.find(">219.6%<"), std::string::npos) << font;

    // Trend lines for figures of all three runs, not for Calc (two runs).
    std::size_t trends = 0;
    for (std::size_t at = 0; (at = html.find("class=\"trend-line\"", at)) != std::string::npos; ++at) ++trends;
    EXPECT_EQ(trends, 4u);

    // The system descriptions side by side, the warnings, text escaped.
    EXPECT_NE(html.find("<td>aarch64</td>"), std::string::npos);
    EXPECT_NE(html.find("Faster CPU &lt;v2&gt; &amp; more"), std::string::npos);
    EXPECT_EQ(html.find("<v2>"), std::string::npos);
    EXPECT_NE(html.find("<li>the load average was 3 on 2 cores</li>"), std::string::npos);

    // Self-contained: no script, no link, no fetched address of any kind.
    for (const char* fetch : {"<script", "<link", "src=", "href=", "url(", "@import"})
        EXPECT_EQ(html.find(fetch), std::string::npos) << fetch;
    std::string addresses = html;
    for (std::size_t at; (at = addresses.find("http://www.w3.org/2000/svg")) != std::string::npos;)
        addresses.erase(at, 26);
    EXPECT_EQ(addresses.find("http"), std::string::npos);
    EXPECT_NE(html.find("prefers-color-scheme: dark"), std::string::npos);
    EXPECT_NE(html.find("@media print"), std::string::npos);
}

}  // namespace

namespace {

// A run measured with --threads 2 alone holds no one-thread figure of Stage 8:
// its figures are reported by their thread count, not skipped or mistaken
// for absent ones.
TEST(HtmlReport, FiguresOfOtherThreadCountsAreTheirOwnCharts) {
    std::vector<SavedRun> runs(1);
    runs[0].id = 7;
    SavedFigure add = figureOf("calc_add", 8, "Calc ADD", "times/S", 806451612.0, {1.6e9, 1.7e9, 1.8e9});
    add.threads = 2;
    runs[0].figures.push_back(add);

    const std::string html = htmlReport(runs);
    const std::string chart = chartOf(html, "calc_add\" data-threads=\"2");
    EXPECT_NE(chart.find("<rect class=\"bar\" data-run=\"7\""), std::string::npos) << html;
    EXPECT_NE(html.find("Calc ADD, 2 threads"), std::string::npos);
    EXPECT_NE(markdownReport(runs).find("| 8 | Calc ADD, 2 threads | times/S | 1700000000.00 | 210.8% |"),
              std::string::npos)
        << markdownReport(runs);
}

}  // namespace
