// Text from a results file or a store, forged to break out of its place in
// every kind of output: a terminal line, a Markdown row, a CSV field, HTML.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/cli_fixture.h"
#include "cli/report/history.h"
#include "cli/report/html_report.h"
#include "cli/report/table_export.h"

namespace {

// A formula, a line break with a forged table row, CR, an escape sequence,
// HTML, a C1 control as a character and as a stray byte, an entity, quotes.
const std::string kForged = "=cmd|' /C calc'!A0\n| forged | row |\r\x1b[31m<script>alert(1)</script>\xC2\x9B\x9B&amp;\"'";

std::vector<SavedRun> forgedRuns() {
    std::vector<SavedRun> runs(2);
    for (std::size_t r = 0; r < runs.size(); ++r) {
        SavedRun& run = runs[r];
        run.id = static_cast<long long>(r) + 1;
        run.startedAt = kForged;
        run.commandLine = {"pelorin-cli", kForged};
        run.cpu = kForged;
        run.architecture = kForged;
        run.label = kForged;
        run.benchmarkVersion = kForged;
        run.system = {{kForged, kForged}};
        run.warnings = {kForged};
        for (const char* id : {"read1", "calc_add"}) {
            SavedFigure f;
            f.id = id + kForged;
            f.stage = 7;
            f.label = kForged;
            f.unit = kForged;
            f.reference = 100;
            setSamples(f, {1, 2, 3});
            run.figures.push_back(f);
        }
    }
    return runs;
}


// RFC 4180 records: fields split at commas outside quotes, quotes undone.
std::vector<std::vector<std::string>> csvRecords(const std::string& text) {
    std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            records.back().back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ',') {
            records.back().emplace_back();
        } else if (!quoted && c == '\n') {
            records.emplace_back(1);
        } else {
            records.back().back() += c;
        }
    }
    records.pop_back();  // after the last line break
    return records;
}

TEST(HostileText, StoredTextCannotSubvertAnyOutput) {
    const std::vector<SavedRun> runs = forgedRuns();

    // Terminal: a heading, one line per run and, as their forged
    // architecture is not this machine's, a note on each; no control
    // character, no byte that is not UTF-8.
    const std::vector<std::string> history = historyLines(runs, thisProgram());
    ASSERT_EQ(history.size(), 5u);
    for (const std::string& line : history) {
        EXPECT_EQ(line.find_first_of(std::string("\x1b\r\n\b\x7f\x9b", 6)), std::string::npos) << line;
        EXPECT_EQ(line.find("\xC2\x9B"), std::string::npos) << line;
    }

    // Markdown: each run exactly one row of the runs table (eight cells) and
    // each figure one row of the figures table (three cells and two a run),
    // no HTML.
    const std::string markdown = markdownReport(runs);
    const std::vector<std::string> lines = linesOf(markdown);
    std::size_t runRows = 0, figureRows = 0;
    for (const std::string& line : lines) {
        if (line.rfind("|", 0) != 0) continue;
        std::size_t bars = 0;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\\') ++i;  // an escaped character
            else if (line[i] == '|') ++bars;
        }
        if (bars == 8 + 1)
            ++runRows;
        else if (bars == 3 + 2 * runs.size() + 1)
            ++figureRows;
        else
            ADD_FAILURE() << "a row of another shape: " << line;
    }
    EXPECT_EQ(runRows, 2 + runs.size()) << markdown;  // heading, rule, a row a run
    EXPECT_EQ(figureRows, 2u + 2u) << markdown;       // heading, rule, two figures
    EXPECT_EQ(markdown.find('<'), std::string::npos) << markdown;
    EXPECT_EQ(markdown.find_first_of("\x1b\r"), std::string::npos) << markdown;
    EXPECT_EQ(std::count(markdown.begin(), markdown.end(), '\n'), static_cast<long>(lines.size()));

    // CSV: a header and one record per figure of 22 fields; text fields
    // carry the forged text whole, neutralised as a formula.
    const std::vector<std::vector<std::string>> records = csvRecords(csvReport(runs));
    ASSERT_EQ(records.size(), 1u + 4u);
    for (std::size_t r = 1; r < records.size(); ++r) {
        ASSERT_EQ(records[r].size(), 22u);
        for (const int text : {1, 2, 3, 6, 7, 16, 18})
            EXPECT_EQ(records[r][static_cast<std::size_t>(text)], "'" + kForged);
        EXPECT_EQ(records[r][5].rfind("read1", 0) == 0 || records[r][5].rfind("calc_add", 0) == 0, true);
    }

    // HTML: nothing of the forged text becomes markup or leaves an attribute.
    const std::string html = htmlReport(runs);
    for (const char* markup : {"<script", "\"'", "&amp;\""}) EXPECT_EQ(html.find(markup), std::string::npos) << markup;
    EXPECT_NE(html.find("data-figure=\"read1=cmd|&#39; /C calc&#39;!A0"), std::string::npos);
    EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
}

}  // namespace
