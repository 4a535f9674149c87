// What a person meets at the command line, end to end through runCli: the
// help of each command, '-' as standard output, two outputs on one file,
// the exit status of a run that is not there, where a run was saved, and
// runs named by their labels.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_fixture.h"

namespace {

namespace fs = std::filesystem;

// A store with run 1 labelled "office desktop" and run 2 "laptop", both of
// the same processor.
std::string labelledStore(const std::string& name) {
    const std::string path = freshTempPath(name);
    std::unique_ptr<ResultsStore> store = openStore(path);
    std::string error;
    for (const char* label : {"office desktop", "laptop"}) {
        RunFacts facts = sampleFacts();
        facts.label = label;
        const ResultsDocument doc = resultsDocument(sampleResults(1.0), sampleOptions(), sampleSystem(), {}, facts);
        EXPECT_GT(store->save(doc, error), 0) << error;
    }
    return path;
}

TEST(CommandLine, EachCommandsHelpGoesToStandardOutput) {
    for (const char* command : {"history", "report", "export", "import", "check"}) {
        const CliOutput r = runCliCaptured({command, "--help"});
        EXPECT_EQ(r.status, 0) << command;
        EXPECT_EQ(r.out.rfind(std::string("Usage: pelorin-cli ") + command, 0), 0u) << r.out;
        EXPECT_TRUE(r.err.empty()) << r.err;
    }
    const CliOutput typo = runCliCaptured({"histroy"});
    EXPECT_EQ(typo.status, 2);
    EXPECT_EQ(typo.err, "pelorin-cli: unknown command 'histroy' (did you mean 'history'?)\n");
}

TEST(CommandLine, ADashIsStandardOutputForEveryDocument) {
    const std::string store = storeWithOneRun("dash_store.sqlite");
    const fs::path dash = fs::current_path() / "-";
    fs::remove(dash);
    struct Case {
        std::vector<std::string> args;
        std::string starts;
    };
    const Case cases[] = {
        {{"report", "last", "--markdown", "-", "--store", store}, "## Pelorin Benchmark results\n"},
        {{"report", "--csv", "-", "--store", store}, "run_id,"},
        {{"report", "1", "-o", "-", "--store", store}, "<!DOCTYPE html>"},
        {{"export", "last", "-o", "-", "--store", store}, "{"},
    };
    for (const Case& c : cases) {
        const CliOutput r = runCliCaptured(c.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out.rfind(c.starts, 0), 0u) << r.out.substr(0, 200);
        EXPECT_TRUE(r.err.empty()) << r.err;
    }
    EXPECT_FALSE(fs::exists(dash));

    // A run's own CSV on standard output: the text report goes to standard error.
    const CliOutput r = quickRun({"--csv", "-", "--no-save"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("run_id,", 0), 0u) << r.out.substr(0, 200);
    EXPECT_NE(r.err.find("Memory Access Speed"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dash));
}

TEST(CommandLine, TwoOutputsOnOneFileAreRefusedBeforeAnythingIsWritten) {
    const std::string store = storeWithOneRun("shared_output_store.sqlite");
    const std::string html = freshTempPath("shared.html");
    const std::string same = fs::path(html).parent_path().string() + "/./shared.html";
    const std::string json = writeTempFile("shared_compare.json", documentText(sampleDocument(1.0)));
    const std::vector<std::string> cases[] = {
        {"report", "-o", html, "--markdown", same, "--store", store},
        {"-b", "8", "--json", html, "--csv", html, "--store", store},
        {"-b", "8", "--compare", json, "--markdown", json, "--store", store},
        {"check", "1", json, "--markdown", json, "--store", store},
    };
    for (const std::vector<std::string>& args : cases) {
        const std::string before = readFile(json);
        const CliOutput r = runCliCaptured(args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_TRUE(r.err.find("name the same file") != std::string::npos ||
                    r.err.find("would overwrite") != std::string::npos)
            << r.err;
        EXPECT_FALSE(fs::exists(html));
        EXPECT_EQ(readFile(json), before);
    }
}

TEST(CommandLine, ARunThatIsNotThereIsTheSameFaultInEveryCommand) {
    const std::string store = storeWithOneRun("missing_run_store.sqlite");
    const std::string out = freshTempPath("missing_run.html");
    const std::vector<std::string> cases[] = {
        {"export", "99", "--store", store},
        {"check", "1", "99", "--store", store},
        {"report", "99", "-o", out, "--store", store},
        {"-b", "8", "--compare", "99", "--store", store},
    };
    for (const std::vector<std::string>& args : cases) {
        const CliOutput r = runCliCaptured(args);
        EXPECT_EQ(r.status, 2) << args[0] << ": " << r.err;
        EXPECT_NE(r.err.find("99"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST(CommandLine, ARunSaysWhereItWasSaved) {
    const std::string store = freshTempPath("saved_as.sqlite");
    storeWithOneRunAt(store);
    CliOutput r = quickRun({"--store", store});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("\nsaved as run 2 in " + store + "\n"), std::string::npos) << r.err;
    r = quickRun({"--no-save"});
    EXPECT_NE(r.err.find("\nnot saved (--no-save)\n"), std::string::npos) << r.err;
}

TEST(CommandLine, RunsAreNamedByTheirLabelsWithTheirIds) {
    const std::string store = labelledStore("labelled.sqlite");
    const CliOutput check = runCliCaptured({"check", "1", "2", "--store", store});
    EXPECT_EQ(check.out.rfind("Check of run #2 (laptop) against run #1 (office desktop):\n", 0), 0u) << check.out;

    const CliOutput compare = quickRun({"--compare", "1", "--store", store, "--no-save"});
    ASSERT_EQ(compare.status, 0) << compare.err;
    EXPECT_NE(compare.out.find("Compared with run #1 (office desktop); "), std::string::npos) << compare.out;

    const CliOutput history = runCliCaptured({"history", "--store", store});
    const std::vector<std::string> lines = linesOf(history.out);
    ASSERT_GE(lines.size(), 3u) << history.out;
    EXPECT_EQ(lines[1].rfind("     1 ", 0), 0u) << lines[1];
    EXPECT_NE(lines[1].find(" office desktop "), std::string::npos) << lines[1];
    EXPECT_EQ(lines[2].rfind("     2 ", 0), 0u) << lines[2];
    EXPECT_NE(lines[2].find(" laptop "), std::string::npos) << lines[2];
}

}  // namespace
