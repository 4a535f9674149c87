#include <gtest/gtest.h>

#include <cstdlib>

#include "cli/cli_fixture.h"
#include "cli/report/compare.h"
#include "cli/report/history.h"
#include "cli/report/html_report.h"
#include "cli/report/table_export.h"
#include "cli/report/text_report.h"
#include "cli/report/verdict.h"
#include "cli/run/statistics.h"
#include "cli/results/results_document.h"
#include "cli/results/run_sources.h"
#include "cli/store_commands.h"

namespace {

SavedRun savedFrom(const RunResults& r) {
    SavedRun saved;
    std::string reason;
    EXPECT_TRUE(readSavedRun(parsed(documentText(resultsDocument(r, sampleOptions(), sampleSystem(), {}, {}))), saved,
                             reason))
        << reason;
    return saved;
}

TEST(Compare, ChangeAndOverlap) {
    EXPECT_DOUBLE_EQ(changePercent(110, 100), 10.0);
    EXPECT_DOUBLE_EQ(changePercent(90, 100), -10.0);
    EXPECT_DOUBLE_EQ(changePercent(5, 0), 0.0);
    EXPECT_FALSE(intervalsApart(1, 3, 2, 4));
    EXPECT_FALSE(intervalsApart(1, 2, 2, 3));  // touching intervals share a point
    EXPECT_TRUE(intervalsApart(1, 2, 2.5, 3));
    EXPECT_TRUE(intervalsApart(5, 6, 1, 2));
}

TEST(Compare, TwoSavedDocumentsLineByLine) {
    const SavedRun before = savedFrom(sampleResults(1.0));
    EXPECT_EQ(before.cpu, "Test CPU @ 1.0GHz");
    ASSERT_EQ(before.figures.size(), 11u);
    EXPECT_TRUE(before.figures[0].hasInterval);

    // 10 % faster everywhere: the intervals (98..102 against 107.8..112.2)
    // no longer meet.
    RunResults now = sampleResults(1.1);
    // And one figure the saved run never measured.
    now.samples[1] = {17, 17, 17};
    const std::vector<std::string> lines = compareLines(now, before, "before.json");
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_NE(lines[0].find("before.json (Test CPU @ 1.0GHz)"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("Font Speed 1"), std::string::npos);
    EXPECT_NE(lines[1].find("+10.00%"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find("was            100.0"), std::string::npos) << lines[1];
    EXPECT_EQ(lines[1].substr(lines[1].size() - 1), "*") << lines[1];
    EXPECT_NE(lines[2].find("Font Speed 2"), std::string::npos);
    EXPECT_NE(lines[2].find("not in the saved run"), std::string::npos);

    // The same run compared with itself changes nothing and marks nothing.
    for (const std::string& line : compareLines(sampleResults(1.0), before, "same.json")) {
        if (line.rfind("Compared", 0) == 0) continue;
        EXPECT_NE(line.find("+0.00%"), std::string::npos) << line;
        EXPECT_NE(line.substr(line.size() - 1), "*") << line;
    }
}

TEST(Compare, ForeignDocumentsAreRefused) {
    SavedRun saved;
    std::string reason;
    EXPECT_FALSE(readSavedRun(parsed("[1, 2]"), saved, reason));
    EXPECT_FALSE(readSavedRun(parsed(R"({"schema_version": 1, "results": []})"), saved, reason));
    EXPECT_NE(reason.find("pelorin-cli"), std::string::npos);
    EXPECT_FALSE(readSavedRun(parsed(R"({"generator": "pelorin-cli", "schema_version": 7, "results": []})"), saved,
                              reason));
    EXPECT_NE(reason.find("schema_version"), std::string::npos);
    EXPECT_FALSE(readSavedRun(parsed(R"({"generator": "pelorin-cli", "schema_version": 1, "results": [{"id": 3}]})"),
                              saved, reason));
    // Numbers out of range are not trusted into the run (casting 1e300 to
    // an int is undefined).
    ASSERT_TRUE(readSavedRun(parsed(R"({"generator": "pelorin-cli", "schema_version": 3, "results":
        [{"id": "calc_add", "median": 1, "stage": 1e300, "threads": 99999999999}]})"), saved, reason)) << reason;
    EXPECT_EQ(saved.figures[0].stage, 0);
    EXPECT_EQ(saved.figures[0].threads, 1);
}

// Files written before the format gained the architecture still compare.
TEST(Compare, ReadsTheFirstSchemaVersion) {
    SavedRun saved;
    ASSERT_EQ(loadCompareRun(PELORIN_SOURCE_DIR "/tests/cli/fixtures/results_v1.json", "", saved), "");
    EXPECT_FALSE(saved.cpu.empty());
    EXPECT_EQ(saved.architecture, "");
    ASSERT_EQ(saved.figures.size(), 11u);
    EXPECT_EQ(saved.figures[0].id, "FontSpeed1");
    EXPECT_EQ(saved.figures[0].samples, (std::vector<double>{100, 102, 98}));
    EXPECT_TRUE(saved.figures[0].hasInterval);
    EXPECT_EQ(saved.warnings, std::vector<std::string>{"a warning"});
}

// Bad compare files stop the program before anything is measured: no
// window is made, so these need no display and take no time.
TEST(Compare, BadCompareFileIsUsageErrorBeforeMeasuring) {
    const std::string notJson = writeTempFile("not_json.json", "this is not json");
    const std::string notOurs = writeTempFile("not_ours.json", R"({"name": "some other tool"})");
    struct Case {
        std::string path;
        std::string says;
    };
    for (const Case& c : {Case{"/nonexistent/dir/run.json", "cannot read the compare file"},
                          Case{notJson, "not JSON"}, Case{notOurs, "not written by pelorin-cli"}}) {
        const CliOutput r = runCliCaptured({"--compare", c.path});
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;  // one line
        EXPECT_EQ(r.err.find("started"), std::string::npos);
    }
}

// The "MB/S" scale is four times the mebibytes moved per second: every
// output that shows such a figure also gives the true bandwidth, the same
// number the text report prints beside it.
SavedRun savedSample(double scale, long long id) {
    SavedRun saved;
    std::string reason;
    EXPECT_TRUE(readSavedRun(sampleDocument(scale), saved, reason)) << reason;
    saved.id = id;
    return saved;
}

TEST(TrueBandwidth, EveryOutputGivesWhatTheTextReportPrints) {
    // The text report of the run: 40000 on the "MB/S" scale is 10000 MiB/s.
    const RunResults results = sampleResults(1.0);
    const std::vector<std::string> lines = figureLines(results);
    const std::string& read3 = lines[3];  // FontSpeed1, read1, read2, read3
    ASSERT_EQ(read3.rfind("Read Memory (SSE) = 40000.000000 MB/S", 0), 0u) << read3;
    const std::size_t open = read3.find("  [");
    ASSERT_NE(open, std::string::npos) << read3;
    const std::string terminal = read3.substr(open + 3, read3.find(']', open) - open - 3);
    EXPECT_EQ(terminal, "10.486 GB/s");

    const std::vector<SavedRun> runs{savedSample(1.0, 1), savedSample(1.1, 2)};
    EXPECT_NE(htmlReport(runs).find("<td class=\"value true\">" + terminal + "</td>"), std::string::npos);
    EXPECT_NE(markdownReport(runs).find("| 40000.00 (" + terminal + ") |"), std::string::npos) << markdownReport(runs);

    // The CSV's own column holds it exactly; it rounds to what the terminal shows.
    const std::string csv = csvReport(runs);
    EXPECT_TRUE(csv.substr(0, csv.find('\n')).ends_with(",bandwidth_gb_per_s"));
    const std::size_t row = csv.find(",read3,");
    const std::string record = csv.substr(row, csv.find('\n', row) - row);
    EXPECT_EQ(std::strtod(record.c_str() + record.rfind(',') + 1, nullptr), 40000.0 * 1048576.0 / 4.0 / 1e9) << record;
    const std::size_t frameRow = csv.find(",FontSpeed1,");
    EXPECT_EQ(csv[csv.find('\n', frameRow) - 1], ',');  // none for a frame rate

    const std::vector<std::string> history = historyLines(runs, thisProgram());
    EXPECT_NE(history[1].find(terminal), std::string::npos) << history[1];

    // check and --compare: 44000 "MB/S" is 11.534 GB/s.
    const Verdict verdict = judgeRuns(runs[0], "run #1", runs[1], "run #2", VerdictRules{});
    const std::string both = "[" + terminal + " -> 11.534 GB/s]";
    bool inCheck = false;
    for (const std::string& line : verdictLines(verdict))
        if (line.find("Read Memory (SSE)") != std::string::npos) inCheck = line.find(both) != std::string::npos;
    EXPECT_TRUE(inCheck) << both;
    EXPECT_NE(verdictMarkdown(verdict).find("| 40000.00 (" + terminal + ") | 44000.00 (11.534 GB/s) |"),
              std::string::npos);
    bool inCompare = false;
    for (const std::string& line : compareLines(sampleResults(1.1), runs[0], "run #1"))
        if (line.find("Read Memory (SSE)") != std::string::npos)
            inCompare = line.find("44000.000 MB/S [11.534 GB/s]  was ") != std::string::npos &&
                        line.find(" 40000.000 [" + terminal + "]  ") != std::string::npos;
    EXPECT_TRUE(inCompare);
}

}  // namespace
