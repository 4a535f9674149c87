// The two indices, and how history and the reports name runs, mark window
// runs and mark runs that are not directly comparable.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "cli/cli_fixture.h"
#include "cli/report/history.h"
#include "cli/report/html_report.h"
#include "cli/report/machine_index.h"
#include "cli/report/table_export.h"
#include "cli/run/figures.h"

namespace {

// Stages 1-6 at 80, 90 ... 130 % of the reference; the nine memory figures
// at 50 % and the four arithmetic ones at 200 %.
SavedRun fullRun(long long id) {
    SavedRun run;
    run.id = id;
    run.cpu = "Test CPU @ 1.0GHz";
    run.architecture = "x86_64";
    run.benchmarkVersion = "1.30";
    run.startedAt = "2026-12-07T09:46:42Z";
    for (int i = 0; i < kFigureTotal; ++i) {
        SavedFigure f;
        f.id = figure(i).id;
        f.stage = figure(i).stage;
        f.label = figureLabel(i);
        f.unit = figureUnit(i);
        f.reference = 1000.0;
        const double percent = i < 6 ? 80.0 + 10.0 * i : i < 15 ? 50.0 : 200.0;
        setSamples(f, {percent * 10.0});
        run.figures.push_back(f);
    }
    return run;
}

// Worked by hand: (80 x 90 x 100 x 110 x 120 x 130)^(1/6) and
// (50^9 x 200^4)^(1/13) = 50 x 4^(4/13).
constexpr double kGraphics = 103.58772535435617;
constexpr double kProcessor = 76.59831786679858;

TEST(MachineIndex, GeometricMeansOfEveryFigureOrNone) {
    SavedRun run = fullRun(1);
    ASSERT_TRUE(graphicsIndex(run) && processorIndex(run));
    EXPECT_NEAR(*graphicsIndex(run), kGraphics, 1e-9);
    EXPECT_NEAR(*processorIndex(run), kProcessor, 1e-9);
    EXPECT_EQ(indexText(graphicsIndex(run)), "103.6%");
    EXPECT_EQ(indexLines(run).size(), 2u);

    SavedRun noFontSpeed2 = run;  // one stage missing
    noFontSpeed2.figures.erase(noFontSpeed2.figures.begin() + 1);
    EXPECT_FALSE(graphicsIndex(noFontSpeed2));
    EXPECT_EQ(indexText(graphicsIndex(noFontSpeed2)), "-");
    EXPECT_NEAR(*processorIndex(noFontSpeed2), kProcessor, 1e-9);

    SavedRun onlyTwoThreads = run;  // Stage 8 measured with two threads only
    for (SavedFigure& f : onlyTwoThreads.figures)
        if (f.stage == 8) f.threads = 2;
    EXPECT_FALSE(processorIndex(onlyTwoThreads));
    SavedRun zero = run;
    setSamples(zero.figures[3], {0.0});
    EXPECT_FALSE(graphicsIndex(zero));
    EXPECT_EQ(indexLines(zero).size(), 1u);
}

// Run 1 as this program would measure it; run 2 a labelled window run on
// another architecture; run 3 by another benchmark version, Stage 1 missing.
std::vector<SavedRun> threeMachines() {
    std::vector<SavedRun> runs{fullRun(1), fullRun(2), fullRun(3)};
    runs[1].label = "office | desktop";
    runs[1].window = true;
    runs[1].architecture = "aarch64";
    runs[2].benchmarkVersion = "1.29";
    runs[2].figures.erase(runs[2].figures.begin());
    return runs;
}

TEST(MachineIndex, HistoryShowsIndicesModeLabelAndMarks) {
    SavedRun here;
    here.benchmarkVersion = "1.30";
    here.architecture = "x86_64";
    const std::vector<std::string> lines = historyLines(threeMachines(), here);
    ASSERT_EQ(lines.size(), 6u);  // heading, three runs, two notes
    for (const char* heading : {"Mode", "Run", "Graphics", "Processor"})
        EXPECT_NE(lines[0].find(heading), std::string::npos) << heading;
    EXPECT_EQ(lines[1].rfind("     1   2026-12-07 09:46  offscreen  x86_64    Test CPU @ 1.0GHz", 0), 0u) << lines[1];
    EXPECT_NE(lines[1].find("   103.6%      76.6%"), std::string::npos) << lines[1];
    EXPECT_EQ(lines[2].rfind("     2!  2026-12-07 09:46  window     aarch64   office | desktop", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("     3!", 0), 0u) << lines[3];
    EXPECT_NE(lines[3].find("        -      76.6%"), std::string::npos) << lines[3];
    EXPECT_EQ(lines[4], "! #2 is not directly comparable with this pelorin-cli (1.30, x86_64): measured on aarch64 and x86_64");
    EXPECT_EQ(lines[5],
              "! #3 is not directly comparable with this pelorin-cli (1.30, x86_64): measured by benchmark versions "
              "1.29 and 1.30");
}

TEST(MachineIndex, ReportsChartTheIndicesAndMarkRunsAgainstTheFirst) {
    const std::vector<SavedRun> runs = threeMachines();
    const std::string html = htmlReport(runs);
    std::ofstream(documentsFolder() + "/report_indices.html", std::ios::binary | std::ios::trunc) << html;
    // The chart comes first, one bar per index a run can give, drawn to
    // the scale of its 100 % line.
    const std::size_t chart = html.find("<svg class=\"indices\"");
    ASSERT_NE(chart, std::string::npos);
    EXPECT_LT(chart, html.find("<svg class=\"bars\""));
    const std::string svg = html.substr(chart, html.find("</svg>", chart) - chart);
    const auto number = [&](const std::string& element, const char* name) {
        const std::string key = std::string(" ") + name + "=\"";
        return std::strtod(element.c_str() + element.find(key) + key.size(), nullptr);
    };
    const std::string line = svg.substr(svg.find("<line class=\"reference\""));
    const std::string bar = svg.substr(svg.find("<rect class=\"index-graphics\" data-run=\"1\""));
    const double perCent = (number(line, "x1") - number(bar, "x")) / 100.0;
    EXPECT_NEAR(number(bar, "width"), kGraphics * perCent, 0.01);
    const std::string processorBar = svg.substr(svg.find("<rect class=\"index-processor\" data-run=\"3\""));
    EXPECT_NEAR(number(processorBar, "width"), kProcessor * perCent, 0.01);
    EXPECT_EQ(svg.find("data-index=\"graphics\"", svg.find("data-run=\"3\" data-index=\"graphics\"")), std::string::npos);
    EXPECT_NE(svg.find("not every figure of Stages 1-6 was measured"), std::string::npos);
    EXPECT_NE(svg.find("#2 office | desktop \xE2\x80\xA0"), std::string::npos);
    EXPECT_NE(html.find("<li>#3: measured by benchmark versions 1.29 and 1.30</li>"), std::string::npos);
    EXPECT_NE(html.find("<td>window</td>"), std::string::npos);

    const std::string markdown = markdownReport(runs);
    EXPECT_NE(markdown.find("| #1 |  | 2026-12-07T09:46:42Z | Test CPU @ 1.0GHz | x86\\_64 | offscreen | 103.6% | 76.6% |"),
              std::string::npos)
        << markdown;
    EXPECT_NE(markdown.find("| #2 \xE2\x80\xA0 | office \\| desktop |"), std::string::npos) << markdown;
    EXPECT_NE(markdown.find("| window | 103.6% | 76.6% |"), std::string::npos) << markdown;
    EXPECT_NE(markdown.find("- #2: measured on aarch64 and x86\\_64\n"), std::string::npos) << markdown;

    const std::string csv = csvReport(runs);
    EXPECT_NE(csv.find(",threads,run_label,mode,benchmark_version,graphics_index,processor_index,"
                       "not_directly_comparable_with_first\n"),
              std::string::npos);
    EXPECT_NE(csv.find(",1,office | desktop,window,1.30,103.587725354356"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",1,,offscreen,1.29,,76.598317866798"), std::string::npos) << csv;
}

}  // namespace
