// The HTML report read back as a drawing: every bar as long as its
// figure's percentage of the reference machine, every whisker spanning its
// interval, each row's measured value and change, the marks on runs that
// may not be compared, trend lines only within one machine and mode, and
// nothing fetched.  The page is also left in the documents folder for the
// browser check.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "cli/cli_fixture.h"
#include "cli/report/comparability.h"
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

SavedRun runOf(long long id, const std::string& startedAt, const std::string& cpu, double k) {
    SavedRun run;
    run.id = id;
    run.startedAt = startedAt;
    run.commandLine = {"pelorin-cli", "--repeat", "5"};
    run.cpu = cpu;
    run.architecture = "x86_64";
    run.benchmarkVersion = "1.30";
    run.system = {{"cpu", run.cpu},
                  {"reference_cpu", "Reference"},
                  {"cores", "8"},
                  {"memory_bytes", "25276182528"},
                  {"display", "width 1024, height 768, refresh_hz unknown, name \"0\", pixel_format \"RGB888\""}};
    run.figures.push_back(figureOf("FontSpeed1", 1, "Font Speed 1", "fps", 45, {90 * k, 95 * k, 100 * k, 97 * k, 93 * k}));
    run.figures.push_back(figureOf("DrawSpriteSpeed", 5, "Draw Sprite Speed", "fps", 60, {30 * k, 33 * k, 31 * k}));
    run.figures.push_back(figureOf("read1", 7, "Read Memory", "MB/S", 52798.95, {80000 * k, 82000 * k, 79000 * k}));
    run.figures.push_back(figureOf("copy3", 7, "Copy Memory (SSE)", "MB/S", 30000, {20000 * k}));
    run.figures.push_back(figureOf("calc_add", 8, "Calc ADD", "times/S", 806451612.0, {9e8 * k, 9.5e8 * k, 1e9 * k}));
    return run;
}

// Five runs as a new user makes them: #10, #13 and #14 offscreen on one
// machine (#14 measured before #13), #11 on another machine, #12 a window
// run on the first, without Calc.  #13 is apart from #10 in Font Speed 1.
std::vector<SavedRun> fiveRuns() {
    std::vector<SavedRun> runs{runOf(10, "2026-12-01T10:00:00Z", "Test CPU @ 1.0GHz", 1.0),
                               runOf(11, "2026-12-02T10:00:00Z", "Other CPU <v2> & more", 1.3),
                               runOf(12, "2026-12-03T10:00:00Z", "Test CPU @ 1.0GHz", 0.5),
                               runOf(13, "2026-12-05T10:00:00Z", "Test CPU @ 1.0GHz", 1.3),
                               runOf(14, "2026-12-04T10:00:00Z", "Test CPU @ 1.0GHz", 1.04)};
    runs[1].system[2].second = "16";
    runs[2].window = true;
    runs[2].commandLine.push_back("--window");
    runs[2].system[4].second = "width 1920, height 1080, refresh_hz 60, name \"DP-1 <\\\"main\\\">\", pixel_format \"XRGB8888\"";
    runs[2].figures.pop_back();
    runs[0].warnings = {"the load average was 3 on 2 cores"};
    runs[3].warnings = {"the load average was 3 on 2 cores"};
    return runs;
}

// The first "left:" or "width:" percentage in an element's style.
double styleOf(const std::string& element, const char* property) {
    const std::string key = std::string(property) + ":";
    const std::size_t at = element.find(key);
    EXPECT_NE(at, std::string::npos) << property << " in " << element;
    return at == std::string::npos ? 0.0 : std::strtod(element.c_str() + at + key.size(), nullptr);
}

std::string between(const std::string& text, const std::string& start, const std::string& end, std::size_t from = 0) {
    const std::size_t at = text.find(start, from);
    if (at == std::string::npos) return "";
    return text.substr(at, text.find(end, at) - at);
}

// The chart of one figure, from its table to the end of its section.
std::string chartOf(const std::string& html, const std::string& id) {
    return between(html, "data-figure=\"" + id + "\" data-threads=\"1\"", "</section>");
}

std::string rowOf(const std::string& chart, long long run) {
    return between(chart, "<tr data-run=\"" + std::to_string(run) + "\"", "</tr>");
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
    return n;
}

TEST(HtmlReport, BarsAndWhiskersMatchTheFigures) {
    const std::vector<SavedRun> runs = fiveRuns();
    const std::string html = htmlReport(runs);
    std::ofstream(documentsFolder() + "/report.html", std::ios::binary | std::ios::trunc) << html;

    int bars = 0, whiskers = 0;
    for (const SavedFigure& any : runs[0].figures) {
        const std::string chart = chartOf(html, any.id);
        ASSERT_FALSE(chart.empty()) << any.id;
        for (const SavedRun& run : runs) {
            const std::string row = rowOf(chart, run.id);
            ASSERT_FALSE(row.empty()) << any.id << " of run " << run.id;
            // Positions are percentages of the plot: the dashed 100 % line
            // gives the scale.
            const double perCent = styleOf(between(row, "<span class=\"ref\"", ">"), "left") / 100.0;
            const SavedFigure* f = run.find(any.id);
            const std::string bar = between(row, "<span class=\"bar\"", ">");
            if (f == nullptr) {
                EXPECT_TRUE(bar.empty()) << any.id << " of run " << run.id;
                EXPECT_NE(row.find("<td class=\"missing\" colspan=\"3\">not measured</td>"), std::string::npos) << row;
                continue;
            }
            ASSERT_FALSE(bar.empty()) << any.id << " of run " << run.id;
            ++bars;
            // Written to 0.01 %: each position may be 0.005 off, the scale with it.
            const double tolerance = 0.006 * (1.0 + f->median / f->reference);
            EXPECT_NEAR(styleOf(bar, "width"), f->percent() * perCent, tolerance) << any.id;
            const std::string whisker = between(row, "<span class=\"whisker\"", ">");
            if (!f->hasInterval) {
                EXPECT_TRUE(whisker.empty()) << any.id;
                continue;
            }
            ASSERT_FALSE(whisker.empty()) << any.id;
            ++whiskers;
            EXPECT_NEAR(styleOf(whisker, "left"), f->low / f->reference * 100.0 * perCent, tolerance) << any.id;
            EXPECT_NEAR(styleOf(whisker, "width"), (f->high - f->low) / f->reference * 100.0 * perCent, 2 * tolerance)
                << any.id;
        }
    }
    EXPECT_EQ(bars, 24);
    EXPECT_EQ(whiskers, 19);

    // No line covers text: every line and bar lies in a cell of its own
    // that holds no text, and the 100 % label sits in the heading above.
    for (std::size_t at = 0; (at = html.find("<td class=\"track\">", at)) != std::string::npos; ++at) {
        std::string cell = html.substr(at, html.find("</td>", at) - at);
        for (std::size_t open; (open = cell.find('<')) != std::string::npos;)
            cell.erase(open, cell.find('>', open) - open + 1);
        EXPECT_EQ(cell, "");
    }
}

TEST(HtmlReport, EachRowShowsItsValueUnitAndChange) {
    std::vector<SavedRun> runs = fiveRuns();
    runs[4].figures[3].reference = 0.0;  // a file that lacks #14's reference for Copy Memory (SSE)
    const std::string html = htmlReport(runs);
    // Said once for the whole page.
    EXPECT_EQ(count(html, "higher is better"), 1u);

    // #13 is 1.3 times #10: its median, unit, percentage, and change.
    const std::string font = rowOf(chartOf(html, "FontSpeed1"), 13);
    EXPECT_NE(font.find("<td class=\"value\">123.5 fps</td>"), std::string::npos) << font;
    EXPECT_NE(font.find(">274.4% \xE2\x89\xA0</td>"), std::string::npos) << font;  // apart from #10's interval
    EXPECT_NE(font.find("<td class=\"change\">+30.0%</td>"), std::string::npos) << font;
    EXPECT_NE(rowOf(chartOf(html, "FontSpeed1"), 10).find("<td class=\"change\">&#8212;</td>"), std::string::npos);
    // #14 (x 1.04) overlaps #10: no mark.
    EXPECT_NE(rowOf(chartOf(html, "FontSpeed1"), 14).find(">219.6%</td>"), std::string::npos);

    // The "MB/S" figure and its true bandwidth, 80000 x 2^20 / 4 bytes a second.
    const std::string read = rowOf(chartOf(html, "read1"), 10);
    EXPECT_NE(read.find("<td class=\"value\">80000.0 MB/S</td><td class=\"value true\">20.972 GB/s</td>"),
              std::string::npos)
        << read;
    EXPECT_NE(rowOf(chartOf(html, "calc_add"), 10).find(">950000000 times/S<"), std::string::npos);
    EXPECT_NE(html.find("<th class=\"change\">Against #10</th>"), std::string::npos);
    const std::string noReference = rowOf(chartOf(html, "copy3"), 14);
    EXPECT_NE(noReference.find(">20800.0 MB/S; no reference figure</td>"), std::string::npos) << noReference;
    EXPECT_EQ(noReference.find("class=\"bar\""), std::string::npos) << noReference;
}

TEST(HtmlReport, RunsThatMayNotBeComparedAreMarkedInEveryChart) {
    const std::vector<SavedRun> runs = fiveRuns();
    EXPECT_EQ(notComparableWith(runs[1], runs[0]),
              "measured on Other CPU <v2> & more and Test CPU @ 1.0GHz; with 16 and 8 logical processors");
    EXPECT_EQ(notComparableWith(runs[2], runs[0]), "drawn in a window and offscreen");
    EXPECT_EQ(notComparableWith(runs[3], runs[0]), "");
    SavedRun moreMemory = runs[0];
    moreMemory.system[3].second = "26000000000";  // 3 % more: the same machine
    EXPECT_EQ(notComparableWith(moreMemory, runs[0]), "");
    moreMemory.system[3].second = "34359738368";
    EXPECT_EQ(notComparableWith(moreMemory, runs[0]), "with 32.0 GiB and 23.5 GiB of memory");

    const std::string html = htmlReport(runs);
    // Five figure charts, each marking #11 and #12.  (No run measured all
    // the figures of an index; the index charts mark runs alike, see
    // machine_index_test.)
    EXPECT_NE(html.find("<p class=\"muted\">Graphics index: no run measured every one of"), std::string::npos);
    EXPECT_EQ(count(html, "<table class=\"chart"), 5u);
    EXPECT_EQ(count(html, "<tr data-run=\"11\" class=\"not-comparable\">"), 5u);
    EXPECT_EQ(count(html, "<tr data-run=\"12\" class=\"not-comparable\">"), 5u);
    EXPECT_EQ(count(html, "<tr data-run=\"13\" class=\"not-comparable\">"), 0u);
    // A run of another machine is not judged apart from the first: it is marked as another machine.
    EXPECT_EQ(rowOf(chartOf(html, "FontSpeed1"), 11).find("\xE2\x89\xA0"), std::string::npos);
    EXPECT_NE(html.find("<li>#12: drawn in a window and offscreen</li>"), std::string::npos);
    EXPECT_NE(markdownReport(runs).find("- #12: drawn in a window and offscreen\n"), std::string::npos);
    EXPECT_NE(csvReport(runs).find(",window,1.30,,,drawn in a window and offscreen,"), std::string::npos);
}

TEST(HtmlReport, TrendLinesJoinOnlyRunsOfOneMachineAndMode) {
    std::vector<SavedRun> runs = fiveRuns();
    // #10, #14, #13 in date order; the other machine and the window run
    // are never joined to them.
    const auto groups = trendGroups(runs);
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_EQ(groups[0], (std::vector<std::size_t>{0, 4, 3}));

    const std::string html = htmlReport(runs);
    // The two indices (Graphics from Stages 1-6 is missing, Processor too)
    // give none; each figure of the three runs one.
    EXPECT_EQ(count(html, "<div class=\"trend\""), 5u);
    EXPECT_EQ(count(html, "<div class=\"trend\" data-runs=\"10 14 13\">"), 5u);
    EXPECT_EQ(count(html, "class=\"trend-point\""), 15u);
    EXPECT_NE(html.find("Trend of #10, #14, #13 (Test CPU @ 1.0GHz, offscreen)"), std::string::npos);

    // Two runs of one machine in each mode: no trend anywhere.
    runs.erase(runs.begin() + 4);
    runs[1].cpu = runs[0].cpu;
    runs[1].system = runs[0].system;
    runs[1].window = true;
    EXPECT_TRUE(trendGroups(runs).empty());
    EXPECT_EQ(htmlReport(runs).find("class=\"trend"), std::string::npos);
}

TEST(HtmlReport, SystemFactsInHumanUnitsAndCommandsThatWrapBetweenArguments) {
    std::vector<SavedRun> runs = fiveRuns();
    runs[1].commandLine = {"pelorin-cli", "--label", "office desktop", "--store", "/tmp/it's here.sqlite"};
    const std::string html = htmlReport(runs);
    const std::string system = between(html, "<table class=\"system\">", "</table>");
    EXPECT_NE(system.find("<tr><th>Memory</th><td>23.5 GiB</td>"), std::string::npos) << system;
    EXPECT_NE(system.find("<tr><th>Logical processors</th><td>8</td><td>16</td>"), std::string::npos) << system;
    // Offscreen runs have no display; the window run's is told in a line,
    // its name escaped.
    EXPECT_NE(system.find("<tr><th>Display</th><td>none</td><td>none</td><td>1920\xC3\x97" "1080, 60 Hz, "
                          "DP-1 &lt;&quot;main&quot;&gt;, XRGB8888</td><td>none</td>"),
              std::string::npos)
        << system;
    EXPECT_EQ(system.find("memory_bytes"), std::string::npos);
    EXPECT_EQ(system.find("Reference"), std::string::npos);  // the same for all, named at the top

    // Each argument whole, quoted as a shell needs it; blanks only between them.
    EXPECT_NE(html.find("<code class=\"command\"><span class=\"arg\">pelorin-cli</span> <span class=\"arg\">--label"
                        "</span> <span class=\"arg\">&#39;office desktop&#39;</span> <span class=\"arg\">--store</span> "
                        "<span class=\"arg\">&#39;/tmp/it&#39;\\&#39;&#39;s here.sqlite&#39;</span></code>"),
              std::string::npos);
    // A warning given for two runs is listed once.
    EXPECT_NE(html.find("<li><span class=\"runs\">#10, #13:</span> the load average was 3 on 2 cores</li>"),
              std::string::npos);
}

TEST(HtmlReport, SelfContainedAndEscaped) {
    const std::string html = htmlReport(fiveRuns());
    EXPECT_NE(html.find("Other CPU &lt;v2&gt; &amp; more"), std::string::npos);
    EXPECT_EQ(html.find("<v2>"), std::string::npos);
    // No script, no link, no fetched address of any kind.
    for (const char* fetch : {"<script", "<link", "src=", "href=", "url(", "@import"})
        EXPECT_EQ(html.find(fetch), std::string::npos) << fetch;
    std::string addresses = html;
    for (std::size_t at; (at = addresses.find("http://www.w3.org/2000/svg")) != std::string::npos;)
        addresses.erase(at, 26);
    EXPECT_EQ(addresses.find("http"), std::string::npos);
    EXPECT_NE(html.find("prefers-color-scheme: dark"), std::string::npos);
    EXPECT_NE(html.find("@media print"), std::string::npos);
    EXPECT_NE(htmlReport({}).find("No run to show."), std::string::npos);
}

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
    const std::string chart = between(html, "data-figure=\"calc_add\" data-threads=\"2\"", "</table>");
    EXPECT_NE(chart.find("<span class=\"bar\" data-run=\"7\""), std::string::npos) << html;
    EXPECT_NE(html.find("Calc ADD, 2 threads"), std::string::npos);
    EXPECT_NE(markdownReport(runs).find("| 8 | Calc ADD, 2 threads | times/S | 1700000000.00 | 210.8% |"),
              std::string::npos)
        << markdownReport(runs);
}

}  // namespace
