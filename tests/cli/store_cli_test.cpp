// pelorin-cli with its results store: runs saved, listed, compared and
// reported; and a store that cannot take the run never costs the figures.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <thread>

#include "cli/cli_fixture.h"
#include "cli/results/results_store.h"
#include "cli/sqlite_probe.h"
#include "cli/without_permission_override.h"
#include "cli/results/run_sources.h"
#include "cli/store_commands.h"
#include "platform/linux/drive_hooks.h"
#include "reliability/child_process.h"
#include "support/program_harness.h"
#include "support/quick_kernels.h"

namespace {



// What every run must do whatever happens to the store: print the figures
// and write a JSON document that satisfies the schema.
void expectFiguresAndJson(const CliOutput& r, const std::string& json, const std::string& name) {
    EXPECT_NE(r.out.find("Read Memory  = 1000.000000 MB/S"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Copy Memory (SSE) = 9000.000000 MB/S"), std::string::npos) << r.out;
    const ResultsDocument doc = parsed(readFile(json));
    ASSERT_EQ(doc["results"].size(), 9u);
    keepDocument(name, doc);
}

void expectStoreWarning(const CliOutput& r, const std::string& store, const std::string& reason) {
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("pelorin-cli: warning: "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(store), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(reason), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("not saved"), std::string::npos) << r.err;
}


TEST(StoreCli, RunsAreSavedListedComparedAndReported) {
    const std::string store = freshTempPath("cli_history.sqlite");
    const CliOutput first = quickRun({"--repeat", "3", "--store", store});
    ASSERT_EQ(first.status, 0) << first.err;
    // --compare takes a stored run's id (and "last", below).
    const CliOutput second = quickRun({"--compare", "1", "--store", store});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_NE(second.out.find("Compared with run #1 ("), std::string::npos) << second.out;
    EXPECT_NE(second.out.find("+0.00%"), std::string::npos) << second.out;
    SavedRun last;
    ASSERT_EQ(loadCompareRun("last", store, last), "");
    EXPECT_EQ(last.id, 2);
    EXPECT_EQ(last.commandLine, (std::vector<std::string>{"pelorin-cli", "-b", "7", "--compare", "1", "--store", store}));
    const CliOutput missing = runCliCaptured({"--compare", "99", "--store", store});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("no run 99"), std::string::npos) << missing.err;

    const CliOutput history = runCliCaptured({"history", "--store", store});
    ASSERT_EQ(history.status, 0) << history.err;
    EXPECT_NE(history.out.find("Read SSE"), std::string::npos) << history.out;
    EXPECT_NE(history.out.find("\n     1  "), std::string::npos) << history.out;
    EXPECT_NE(history.out.find("\n     2  "), std::string::npos) << history.out;

    const std::string html = freshTempPath("cli_report.html");
    const std::string md = freshTempPath("cli_report.md");
    const std::string csv = freshTempPath("cli_report.csv");
    const CliOutput report =
        runCliCaptured({"report", "--last", "2", "-o", html, "--markdown", md, "--csv", csv, "--store", store});
    ASSERT_EQ(report.status, 0) << report.err;
    EXPECT_NE(readFile(html).find("<h3>Stage 7: Memory Access Speed</h3>"), std::string::npos);
    EXPECT_NE(readFile(md).find("| 7 | Read Memory (SSE) | MB/S | 3000.00 (0.786 GB/s) |"), std::string::npos)
        << readFile(md);
    const std::string table = readFile(csv);
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 1 + 2 * 9) << table;
    EXPECT_NE(table.find(",read3,Read Memory (SSE),MB/S,3000;3000;3000,3000,3000,3000,0.75,"), std::string::npos)
        << table;
}

TEST(StoreCli, ReportAndHistoryRefuseMistakes) {
    const std::string store = freshTempPath("cli_mistakes.sqlite");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string says;
    };
    const Case cases[] = {
        {{"report", "-o", "x.html", "--store", store}, 2, "no run is stored yet"},
        {{"report", "--store", store}, 2, "name a file"},
        {{"report", "abc", "-o", "x.html"}, 2, "'abc' is not a run"},
        {{"report", "--last", "0", "-o", "x.html"}, 2, "--last"},
        {{"report", "1", "--last", "2", "-o", "x.html"}, 2, "not both"},
        {{"history", "--frobnicate"}, 2, "'--frobnicate'"},
        {{"--compare", "last", "--store", store}, 2, "no run is stored yet"},
    };
    for (const Case& c : cases) {
        const CliOutput r = runCliCaptured(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[0] << " " << c.args[1];
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
    // No store yet is an empty history, not a fault.
    const CliOutput history = runCliCaptured({"history", "--store", store});
    EXPECT_EQ(history.status, 0) << history.err;
    EXPECT_NE(history.out.find("(no run is stored in " + store + " yet)\n"), std::string::npos) << history.out;
    EXPECT_TRUE(history.err.empty()) << history.err;
    EXPECT_FALSE(std::filesystem::exists(store));  // reading commands make no store
}

TEST(StoreCli, DamagedStoreStillGivesFiguresAndJson) {
    const std::string store = writeTempFile("damaged.sqlite", std::string("SQLite format 3") + std::string(5000, '\x7f'));
    const std::string before = readFile(store);
    const std::string json = freshTempPath("damaged.json");
    const CliOutput r = quickRun({"--store", store, "--json", json});
    expectStoreWarning(r, store, "not a database");
    expectFiguresAndJson(r, json, "store_damaged");
    EXPECT_EQ(readFile(store), before);
}

// A store with a trigger someone added: refused in one line before the
// run is measured, the figures and JSON still given, and the trigger
// never runs.
TEST(StoreCli, ForeignSchemaIsRefusedBeforeMeasuringAndNeverRuns) {
    const std::string store = storeWithOneRun("trigger.sqlite");
    SqliteProbe(store).exec("CREATE TRIGGER wipe AFTER INSERT ON runs BEGIN DELETE FROM samples; END");
    const std::string json = freshTempPath("trigger.json");
    const CliOutput r = quickRun({"--store", store, "--json", json});
    expectStoreWarning(r, store, "did not make its trigger 'wipe'");
    EXPECT_LT(r.err.find("cannot take the run"), r.err.find("started")) << r.err;
    expectFiguresAndJson(r, json, "store_with_trigger");
    EXPECT_EQ(SqliteProbe(store).number("SELECT count(*) FROM runs"), 1);
    EXPECT_EQ(SqliteProbe(store).number("SELECT count(*) FROM samples"), 11 * 3);
}

TEST(StoreCli, LockedStoreStillGivesFiguresAndJson) {
    const std::string store = storeWithOneRun("locked.sqlite");
    SqliteProbe holder(store);
    ASSERT_EQ(holder.exec("BEGIN IMMEDIATE"), SQLITE_OK);  // holds the write lock past the busy timeout
    const std::string json = freshTempPath("locked.json");
    const CliOutput r = quickRun({"--store", store, "--json", json});
    expectStoreWarning(r, store, "locked");
    expectFiguresAndJson(r, json, "store_locked");
    holder.exec("ROLLBACK");
    EXPECT_EQ(SqliteProbe(store).number("SELECT count(*) FROM runs"), 1);
    EXPECT_EQ(SqliteProbe(store).text("PRAGMA integrity_check"), "ok");
}

TEST(StoreCli, ReadOnlyStoreStillGivesFiguresAndJson) {
    const std::string store = storeWithOneRun("read_only.sqlite");
    chmod(store.c_str(), 0444);
    const std::string json = freshTempPath("read_only.json");
    CliOutput r;
    {
        WithoutPermissionOverride asAnyUser;
        r = quickRun({"--store", store, "--json", json});
    }
    chmod(store.c_str(), 0644);
    expectStoreWarning(r, store, "readonly");
    expectFiguresAndJson(r, json, "store_read_only");
    EXPECT_EQ(SqliteProbe(store).number("SELECT count(*) FROM runs"), 1);
}

// Two real pelorin-cli processes finish while a third party holds the
// store's write lock; both wait for it and both runs are saved.
TEST(StoreCli, TwoConcurrentRunsAreBothSaved) {
    const std::string store = freshTempPath("concurrent.sqlite");
    std::string error;
    ASSERT_TRUE(ResultsStore::open(store, error)) << error;  // an empty store with its layout
    SqliteProbe holder(store);
    ASSERT_EQ(holder.exec("BEGIN IMMEDIATE"), SQLITE_OK);

    const std::string cli = buildDirectory() + "/pelorin-cli";
    ChildResult results[2];
    std::string outputs[2] = {freshTempPath("concurrent_1.txt"), freshTempPath("concurrent_2.txt")};
    auto run = [&](int i) {
        ChildOptions child;
        child.argv = {"/bin/sh", "-c",
                      emulatorCommandPrefix() + cli + " -b 1 --time 1 --store " + store + " 2> " + outputs[i]};
        child.timeout = std::chrono::milliseconds(120000);
        results[i] = runChild(child);
    };
    std::thread a(run, 0), b(run, 1);
    // A run that has given its last warning is at the store.  The lock is
    // let go once both are there, or 2 s after the first got there: a run
    // waits 5 s for the store, and on a busy machine the two may finish
    // their measuring far apart.
    auto atStore = [&](int i) { return readFile(outputs[i]).find("offscreen driver") != std::string::npos; };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(100);
    std::optional<std::chrono::steady_clock::time_point> firstThere;
    while (std::chrono::steady_clock::now() < deadline && !(atStore(0) && atStore(1))) {
        if (!firstThere && (atStore(0) || atStore(1))) firstThere = std::chrono::steady_clock::now();
        if (firstThere && std::chrono::steady_clock::now() > *firstThere + std::chrono::seconds(2)) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    holder.exec("COMMIT");
    a.join();
    b.join();
    for (const ChildResult& r : results) {
        EXPECT_TRUE(r.exited) << r.output;
        EXPECT_EQ(r.exitStatus, 0) << r.output;
    }
    EXPECT_EQ(SqliteProbe(store).number("SELECT count(*) FROM runs"), 2);
}

}  // namespace
