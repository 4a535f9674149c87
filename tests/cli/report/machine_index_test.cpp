// The two indices, and how history and the reports name runs, mark window
// runs and mark runs that are not directly comparable.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>

#include "cli/cli_fixture.h"
#include "cli/report/history.h"
#include "cli/report/html_report.h"
#include "cli/report/machine_index.h"
#include "cli/report/safe_text.h"
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
    EXPECT_EQ(lines[0], "    ID   Date (UTC)        Mode       Run                         Graphics  Processor      Read SSE");
    // 500 on the "MB/S" scale: 500 x 2^20 / 4 bytes a second.
    EXPECT_EQ(lines[1], "     1   2026-12-07 09:46  offscreen  Test CPU @ 1.0GHz             103.6%      76.6%    0.131 GB/s");
    EXPECT_EQ(lines[2].rfind("     2!  2026-12-07 09:46  window     office | desktop ", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("     3!", 0), 0u) << lines[3];
    EXPECT_NE(lines[3].find("         -      76.6%"), std::string::npos) << lines[3];
    EXPECT_EQ(lines[4], "! #2 is not directly comparable here (1.30 on x86_64): measured on aarch64 and x86_64");
    EXPECT_EQ(lines[5], "! #3 is not directly comparable here (1.30 on x86_64): measured by benchmark versions 1.29 and 1.30");
}

// Within 100 columns whatever the runs hold: long labels and processor
// names, wide characters, ids of many digits, huge figures from a file.
TEST(MachineIndex, HistoryFitsAHundredColumns) {
    SavedRun here = thisProgram();
    std::vector<SavedRun> runs = threeMachines();
    runs[0].label = "the office desktop by the window, second floor, the one with the blue case";
    runs[1].label = "\xE4\xBA\x8B\xE5\x8B\x99\xE6\x89\x80\xE3\x81\xAE\xE3\x83\x87\xE3\x82\xB9\xE3\x82\xAF"
                    "\xE3\x83\x88\xE3\x83\x83\xE3\x83\x97\xE3\x83\x91\xE3\x82\xBD\xE3\x82\xB3\xE3\x83\xB3"
                    "\xE4\xBA\x8C\xE9\x9A\x8E";  // 16 wide characters: 32 columns
    runs[2].cpu = "Intel(R) Xeon(R) Platinum 8480+ with a very long brand string";
    runs[2].id = 123456;
    runs[2].benchmarkVersion = "1.29-with-a-long-build-suffix-from-somewhere";
    runs[2].architecture = "aarch64";
    for (SavedFigure& f : runs[2].figures)
        if (f.stage >= 7) f.median = 9.9e14;
    for (const std::string& line : historyLines(runs, here)) EXPECT_LE(terminalColumns(line), 100u) << line;
    EXPECT_LE(terminalColumns(historyUnreadableLine(123456, "its label is " + std::string(200, 'x'))), 100u);
    const std::vector<std::string> lines = historyLines(runs, here);
    EXPECT_NE(lines[1].find("the office desktop by the\xE2\x80\xA6 "), std::string::npos) << lines[1];
    // 12 wide characters and the ellipsis take 25 of the 26 columns.
    EXPECT_NE(lines[2].find("\xE3\x83\x91\xE3\x82\xBD\xE2\x80\xA6   "), std::string::npos) << lines[2];
    // A figure beyond any machine's is shown in powers of ten rather than cut.
    EXPECT_NE(lines[3].find("e+"), std::string::npos) << lines[3];
    EXPECT_EQ(lines.back().substr(lines.back().size() - 3), "\xE2\x80\xA6");
    // The whole of each is in the report.
    const std::string html = htmlReport(runs);
    for (const SavedRun& run : runs) EXPECT_NE(html.find(runTitle(run)), std::string::npos) << runTitle(run);
}

TEST(MachineIndex, ReportsChartTheIndicesAndMarkRunsAgainstTheFirst) {
    const std::vector<SavedRun> runs = threeMachines();
    const std::string html = htmlReport(runs);
    std::ofstream(documentsFolder() + "/report_indices.html", std::ios::binary | std::ios::trunc) << html;
    // The index charts come before the figures, one bar per index a run can
    // give, drawn to the scale of its 100 % line.
    const std::size_t graphics = html.find("<table class=\"chart\" data-index=\"graphics\">");
    const std::size_t processor = html.find("<table class=\"chart\" data-index=\"processor\">");
    ASSERT_NE(graphics, std::string::npos);
    ASSERT_NE(processor, std::string::npos);
    EXPECT_LT(processor, html.find("data-figure="));
    const auto percentAt = [&](std::size_t chart, const std::string& run, const char* property, const char* element) {
        const std::size_t row = html.find("<tr data-run=\"" + run + "\"", chart);
        const std::size_t at = html.find(element, row);
        const std::size_t value = html.find(std::string(property) + ":", at);
        return std::strtod(html.c_str() + value + std::strlen(property) + 1, nullptr);
    };
    const double perCent = percentAt(graphics, "1", "left", "<span class=\"ref\"") / 100.0;
    EXPECT_NEAR(percentAt(graphics, "1", "width", "<span class=\"bar\""), kGraphics * perCent, 0.01);
    const double processorPerCent = percentAt(processor, "3", "left", "<span class=\"ref\"") / 100.0;
    EXPECT_NEAR(percentAt(processor, "3", "width", "<span class=\"bar\""), kProcessor * processorPerCent, 0.01);
    // Run 3 has no Stage 1: no Graphics index.
    const std::size_t row3At = html.find("<tr data-run=\"3\"", graphics);
    const std::string row3 = html.substr(row3At, html.find("</tr>", row3At) - row3At);
    EXPECT_EQ(row3.find("class=\"bar\""), std::string::npos) << row3;
    EXPECT_NE(row3.find("not all figures measured"), std::string::npos) << row3;
    EXPECT_NE(html.find("<tr data-run=\"2\" class=\"not-comparable\"><td class=\"run\" title=\"#2 office | "
                        "desktop\">#2 \xE2\x80\xA0 office | desktop</td>"),
              std::string::npos);
    EXPECT_NE(html.find("<li>#3: measured by benchmark versions 1.29 and 1.30</li>"), std::string::npos);
    EXPECT_NE(html.find("<td>window</td>"), std::string::npos);

    const std::string markdown = markdownReport(runs);
    EXPECT_NE(markdown.find("| #1 |  | 2026-12-07T09:46:42Z | Test CPU @ 1.0GHz | x86\\_64 | offscreen | 103.6% | 76.6% |"),
              std::string::npos)
        << markdown;
    EXPECT_NE(markdown.find("| #2 \xE2\x80\xA0 | office \\| desktop |"), std::string::npos) << markdown;
    EXPECT_NE(markdown.find("| window | 103.6% | 76.6% |"), std::string::npos) << markdown;
    EXPECT_NE(markdown.find("- #2: drawn in a window and offscreen; measured on aarch64 and x86\\_64\n"),
              std::string::npos)
        << markdown;

    const std::string csv = csvReport(runs);
    EXPECT_NE(csv.find(",threads,run_label,mode,benchmark_version,graphics_index,processor_index,"
                       "not_directly_comparable_with_first,bandwidth_gb_per_s\n"),
              std::string::npos);
    EXPECT_NE(csv.find(",1,office | desktop,window,1.30,103.587725354356"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",1,,offscreen,1.29,,76.598317866798"), std::string::npos) << csv;
}

}  // namespace
