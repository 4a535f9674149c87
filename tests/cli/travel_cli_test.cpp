// pelorin-cli export, import and --label: a labelled window run travels
// from one store to another through a results file and is known again.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/cli_fixture.h"
#include "cli/results/results_store.h"
#include "cli/results/utf8.h"
#include "platform/linux/drive_hooks.h"
#include "support/program_harness.h"
#include "support/quick_kernels.h"

namespace {



TEST(TravelCli, ALabelledWindowRunTravelsAndIsStoredOnce) {
    const std::string home = freshTempPath("travel_home.sqlite");
    const std::string away = freshTempPath("travel_away.sqlite");
    // Under the tests' offscreen driver a --window run still draws offscreen,
    // but it is recorded and shown as a window run.
    ASSERT_EQ(quickRun({"--store", home}).status, 0);
    const CliOutput run = quickRun({"--window", "--label", "office desktop", "--store", home});
    ASSERT_EQ(run.status, 0) << run.err;
    const CliOutput history = runCliCaptured({"history", "--store", home});
    EXPECT_NE(history.out.find("     1   "), std::string::npos) << history.out;
    EXPECT_NE(history.out.find(" offscreen "), std::string::npos) << history.out;
    EXPECT_NE(history.out.find("     2   "), std::string::npos) << history.out;
    EXPECT_NE(history.out.find(" window     "), std::string::npos) << history.out;
    EXPECT_NE(history.out.find("office desktop"), std::string::npos) << history.out;

    const std::string file = freshTempPath("travel_run.json");
    ASSERT_EQ(runCliCaptured({"export", "last", "-o", file, "--store", home}).status, 0);
    const ResultsDocument document = parsed(readFile(file));
    keepDocument("exported_window_run", document);
    EXPECT_EQ(document["label"], "office desktop");
    EXPECT_EQ(document["config"]["window"], true);

    // The same file twice, and a refused one between, with a name and
    // contents that would command a terminal.
    const std::string hostile = writeTempFile("travel_\x1b[2J.json", "\x1b]0;owned\x07 not json");
    const CliOutput imported = runCliCaptured({"import", file, hostile, file, "--store", away});
    EXPECT_EQ(imported.status, 1);
    const std::string refused =
        ::testing::TempDir() + "travel_\\x1b[2J.json: refused: it is not JSON (";
    EXPECT_EQ(imported.out.rfind(file + ": imported as run 1\n" + refused, 0), 0u) << imported.out;
    const std::size_t afterRefusal = imported.out.find('\n', (file + refused).size()) + 1;
    EXPECT_EQ(imported.out.substr(afterRefusal), file + ": already stored as run 1\n") << imported.out;
    EXPECT_EQ(imported.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(runCliCaptured({"import", file, "--store", away}).status, 0);

    const CliOutput again = runCliCaptured({"export", "1", "--store", away});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, readFile(file));  // bit for bit, across stores
    const CliOutput awayHistory = runCliCaptured({"history", "--store", away});
    EXPECT_NE(awayHistory.out.find(" window     "), std::string::npos) << awayHistory.out;
    EXPECT_NE(awayHistory.out.find("office desktop"), std::string::npos) << awayHistory.out;
    const std::string html = freshTempPath("travel_report.html");
    ASSERT_EQ(runCliCaptured({"report", "1", "-o", html, "--store", away}).status, 0);
    EXPECT_NE(readFile(html).find("<td>office desktop</td>"), std::string::npos);
}

// The code points a terminal would act on: C0 but the final newline, DEL,
// C1, and the marks that reorder or break lines.
std::vector<std::uint32_t> terminalControlsIn(const std::string& text) {
    std::vector<std::uint32_t> found;
    for (std::size_t at = 0; at + 1 < text.size();) {
        const Utf8Decoded d = decodeUtf8(text, at);
        if (d.length == 0) return {0xFFFFFFFF};  // not UTF-8 at all
        if (isTerminalControl(d.codePoint)) found.push_back(d.codePoint);
        at += d.length;
    }
    return found;
}

TEST(TravelCli, AnExportedRunCanBeShownOnATerminal) {
    // C1 controls (NEL, CSI), DEL, the line separator and a right-to-left
    // override in a run from someone else's file.
    const std::string forged = "a\xC2\x85" "b\xC2\x9B" "31m c\x7F d\xE2\x80\xA8" "e \xE2\x80\xAE" "fdp.exe";
    ResultsDocument doc = sampleDocument(1.0);
    doc["system"]["cpu"] = "CPU " + forged;
    doc["warnings"] = {forged};
    doc["command_line"].push_back(forged);
    doc["results"][0]["label"] = forged;
    const std::string store = freshTempPath("export_terminal.sqlite");
    const std::string file = writeTempFile("export_terminal.json", doc.dump());
    ASSERT_EQ(runCliCaptured({"import", file, "--store", store}).status, 0);

    const CliOutput exported = runCliCaptured({"export", "1", "--store", store});
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(terminalControlsIn(exported.out), std::vector<std::uint32_t>{}) << exported.out;
    EXPECT_EQ(exported.out.back(), '\n');
    EXPECT_NE(exported.out.find("\"CPU a\\u0085b\\u009b31m c\\u007f d\\u2028e \\u202efdp.exe\""), std::string::npos)
        << exported.out;
    // Still JSON, and the same text once read.
    const ResultsDocument back = parsed(exported.out);
    EXPECT_EQ(back["system"]["cpu"], "CPU " + forged);
    EXPECT_EQ(back["warnings"][0], forged);
    EXPECT_EQ(back["command_line"].back(), forged);
    EXPECT_EQ(back["results"][0]["label"], forged);
    // A run's own document is written the same way.
    const std::string json = freshTempPath("export_terminal_run.json");
    ASSERT_EQ(quickRun({"--no-save", "--json", json, "--markdown", freshTempPath(forged + ".md")}).status, 0);
    EXPECT_EQ(terminalControlsIn(readFile(json)), std::vector<std::uint32_t>{});
    EXPECT_EQ(parsed(readFile(json))["command_line"].back(), ::testing::TempDir() + forged + ".md");
}

TEST(TravelCli, MistakesAreRefusedWithOneLine) {
    const std::string store = freshTempPath("travel_mistakes.sqlite");
    std::string error;
    ASSERT_TRUE(ResultsStore::open(store, error)) << error;
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string says;
    };
    const Case cases[] = {
        {{"export", "--store", store}, 2, "export needs one run"},
        {{"export", "1", "2", "--store", store}, 2, "export needs one run"},
        // A missing run is the same fault as in check: status 2.
        {{"export", "last", "--store", store}, 2, "holds no run"},
        {{"export", "7", "--store", store}, 2, "no run 7"},
        {{"import", "--store", store}, 2, "import needs the results files"},
        {{"import", "x.json", "--frobnicate"}, 2, "'--frobnicate'"},
        {{"-b", "8", "--label", "\x1b[2Jgone"}, 2, "--label: a label may not hold control characters"},
        {{"-b", "8", "--label", "evil \xE2\x80\xAEtxt.exe"}, 2, "control characters (it holds U+202E)"},
        {{"-b", "8", "--label", "two\xE2\x80\xA8lines"}, 2, "control characters (it holds U+2028)"},
        {{"-b", "8", "--label", "mark \xE2\x80\x8F"}, 2, "control characters (it holds U+200F)"},
        {{"-b", "8", "--label", "isolate \xE2\x81\xA6"}, 2, "control characters (it holds U+2066)"},
        {{"-b", "8", "--label", "del \x7F"}, 2, "control characters (it holds U+007F)"},
        {{"-b", "8", "--label", std::string(201, 'x')}, 2, "at most 200 bytes"},
    };
    for (const Case& c : cases) {
        const CliOutput r = runCliCaptured(c.args);
        EXPECT_EQ(r.status, c.status) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << r.err;
    }
}

}  // namespace
