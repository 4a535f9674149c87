// Results stores that someone else made or changed: schema objects we did
// not make, layout versions out of range, values out of their range, paths
// the file system refuses, and stores we may only read.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "cli/cli_fixture.h"
#include "cli/results/results_store.h"
#include "cli/results/run_sources.h"
#include "cli/sqlite_probe.h"
#include "cli/without_permission_override.h"

namespace {

namespace fs = std::filesystem;


// A store as the first layout wrote it, in rollback-journal mode.
std::string storeOfTheFirstLayout(const std::string& name) {
    const std::string path = freshTempPath(name);
    SqliteProbe(path).exec(readFile(std::string(PELORIN_SOURCE_DIR) + "/tests/cli/fixtures/store_v1.sql"));
    return path;
}


std::string readError(const std::string& path) {
    std::string error;
    EXPECT_FALSE(ResultsStore::openForReading(path, error)) << path;
    return error;
}

std::string loadError(const std::string& path) {
    std::string error;
    std::unique_ptr<ResultsStore> store = ResultsStore::openForReading(path, error);
    EXPECT_TRUE(store) << error;
    SavedRun run;
    if (store) {
        EXPECT_FALSE(store->load(1, run, error)) << path;
    }
    return error;
}

TEST(HostileStore, OnlyTheSchemaWeMakeIsTrustedAndNothingElseRuns) {
    struct Case {
        std::string sql, says;
    };
    const Case cases[] = {
        {"CREATE VIEW endless AS WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) SELECT x FROM c",
         "did not make its view 'endless'"},
        {"CREATE TRIGGER rewrite AFTER INSERT ON samples BEGIN UPDATE samples SET value = 0; END",
         "did not make its trigger 'rewrite'"},
        {"CREATE TABLE extra (x)", "did not make its table 'extra'"},
        {"CREATE INDEX by_value ON samples (abs(value))", "did not make its index 'by_value'"},
        {"ALTER TABLE runs ADD COLUMN extra TEXT DEFAULT 'x'", "its table 'runs' is not defined as"},
        {"DROP TABLE warnings", "it lacks the table 'warnings'"},
        {"PRAGMA user_version = -2", "layout version -2 is not one pelorin-cli writes"},
        {"PRAGMA user_version = 2147483647", "newer pelorin-cli"},
    };
    for (const Case& c : cases) {
        const std::string path = storeOfTheFirstLayout("hostile_schema.sqlite");
        ASSERT_EQ(SqliteProbe(path).exec(c.sql), SQLITE_OK) << c.sql;
        const std::string before = readFile(path);
        EXPECT_NE(openError(path).find(c.says), std::string::npos) << openError(path);
        EXPECT_NE(readError(path).find(c.says), std::string::npos) << readError(path);
        EXPECT_NE(ResultsStore::refusal(path).find(c.says), std::string::npos) << c.sql;
        // Refused before anything was written: no WAL switch, no migration.
        EXPECT_EQ(readFile(path), before) << c.sql;
        EXPECT_FALSE(fs::exists(path + "-wal")) << c.sql;
    }
}

TEST(HostileStore, StoredValuesOutsideTheirRangeAreRefused) {
    const std::string deep = "{\"x\":" + std::string(100000, '[') + std::string(100000, ']') + "}";
    struct Case {
        std::string sql, says;
    };
    const Case cases[] = {
        {"UPDATE figures SET stage = 9", "stage that is not a whole number from 1 to 8"},
        {"UPDATE figures SET threads = 0", "thread count that is not a whole number"},
        {"UPDATE figures SET threads = 'many'", "thread count that is not a whole number"},
        {"UPDATE figures SET reference = 'x'", "reference that is not a number"},
        {"UPDATE samples SET value = 'abc'", "sample that is not a number"},
        {"UPDATE samples SET value = -1", "sample that is negative"},
        {"UPDATE samples SET value = 9e999", "sample that is negative or beyond any machine"},
        {"UPDATE runs SET system = '" + deep + "'", "system description is not JSON as pelorin-cli writes it: it is "
                                                   "nested more than 64 deep"},
        {"UPDATE runs SET command_line = '[1e400]'", "number overflow"},
        {"UPDATE runs SET cpu = zeroblob(5000000)", "too big"},
        {"WITH RECURSIVE c(x) AS (SELECT 3 UNION ALL SELECT x + 1 FROM c WHERE x <= 1000000) "
         "INSERT INTO samples SELECT 1, x, 1.0, NULL FROM c",
         "more samples than pelorin-cli reads"},
        {"WITH RECURSIVE c(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM c WHERE x < 10000) "
         "INSERT INTO figures (run_id, figure, stage, label, unit, reference) SELECT 1, 'f' || x, 1, 'x', 'fps', 1 FROM c",
         "more than 10000 results"},
        {"INSERT INTO figures (run_id, figure, stage, label, unit, reference) SELECT run_id, figure, stage, label, unit, "
         "reference FROM figures WHERE id = 1",
         "twice"},
    };
    for (const Case& c : cases) {
        const std::string path = storeWithOneRun("hostile_values.sqlite");
        ASSERT_EQ(SqliteProbe(path).exec(c.sql), SQLITE_OK) << c.sql;
        EXPECT_NE(loadError(path).find(c.says), std::string::npos) << c.sql.substr(0, 80) << ": " << loadError(path);
    }

    // A figure of 100,000 samples is read, and quickly (a benchmark of our
    // own would say how quickly; here it only has to finish).
    const std::string path = storeWithOneRun("many_samples.sqlite");
    SqliteProbe(path).exec("DELETE FROM samples WHERE figure_row = 1;"
                           "WITH RECURSIVE c(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM c WHERE x < 99999) "
                           "INSERT INTO samples SELECT 1, x, x % 1000, NULL FROM c");
    std::string error;
    std::unique_ptr<ResultsStore> store = ResultsStore::openForReading(path, error);
    ASSERT_TRUE(store) << error;
    SavedRun run;
    ASSERT_TRUE(store->load(1, run, error)) << error;
    EXPECT_EQ(run.figures[0].samples.size(), 100000u);
    EXPECT_EQ(run.figures[0].median, 499.5);
}

TEST(HostileStore, OneUndecodableRunCostsOneLine) {
    const std::string path = freshTempPath("one_bad_run.sqlite");
    {
        const std::unique_ptr<ResultsStore> store = openStore(path);
        std::string error;
        for (int i = 0; i < 3; ++i) ASSERT_GT(store->save(sampleDocument(1.0 + i), error), 0) << error;
    }
    // Run 2's system description, not UTF-8 (and a terminal command besides).
    ASSERT_EQ(SqliteProbe(path).exec("UPDATE runs SET system = CAST(X'7B22637075223A22FF1B5B324A227D' AS TEXT) "
                                     "WHERE id = 2"),
              SQLITE_OK);

    const CliOutput history = runCliCaptured({"history", "--store", path});
    EXPECT_EQ(history.status, 2);
    const std::vector<std::string> lines = linesOf(history.out);
    ASSERT_EQ(lines.size(), 4u) << history.out;
    EXPECT_EQ(lines[1].rfind("     1   ", 0), 0u) << lines[1];
    const std::string damaged = "     2?  cannot be read: its system description is not JSON as pelorin-cli writes it: ";
    EXPECT_EQ(lines[2].rfind(damaged, 0), 0u) << lines[2];
    EXPECT_EQ(lines[3].rfind("     3   ", 0), 0u) << lines[3];
    EXPECT_EQ(history.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(history.err, "pelorin-cli: 1 run of " + path + " cannot be read: #2 (marked ? above)\n");

    const std::string markdown = freshTempPath("one_bad_run.md");
    const CliOutput report = runCliCaptured({"report", "--last", "3", "--markdown", markdown, "--store", path});
    EXPECT_EQ(report.status, 2);
    EXPECT_EQ(report.err.rfind("pelorin-cli: warning: run 2 is left out of the report: it cannot be read: its system "
                               "description is not JSON",
                               0),
              0u)
        << report.err;
    EXPECT_EQ(linesOf(report.err).size(), 1u) << report.err;
    EXPECT_NE(readFile(markdown).find("| #1 |"), std::string::npos) << readFile(markdown);
    EXPECT_NE(readFile(markdown).find("| #3 |"), std::string::npos);
    EXPECT_EQ(readFile(markdown).find("| #2 |"), std::string::npos);
    // With nothing else chosen there is no report to write.
    EXPECT_EQ(runCliCaptured({"report", "2", "--markdown", markdown, "--store", path}).status, 2);
}

TEST(HostileStore, PathsTheFileSystemRefusesAreOneLineRefusals) {
    const std::string folder = ::testing::TempDir() + "hostile_paths";
    fs::remove_all(folder);
    fs::create_directories(folder + "/unsearchable");
    fs::create_directories(folder + "/a_folder.sqlite");
    fs::create_symlink("loop", folder + "/loop");
    chmod((folder + "/unsearchable").c_str(), 0);
    struct Case {
        std::string path, says;
    };
    const Case cases[] = {
        {folder + "/loop", "Too many levels of symbolic links"},
        {folder + "/" + std::string(300, 'x') + "/results.sqlite", "File name too long"},
        {folder + "/unsearchable/results.sqlite", "Permission denied"},
        {folder + "/a_folder.sqlite", "it is a folder"},
    };
    {
        WithoutPermissionOverride asAnyUser;
        for (const Case& c : cases) {
            EXPECT_NE(openError(c.path).find(c.says), std::string::npos) << openError(c.path);
            EXPECT_NE(readError(c.path).find(c.says), std::string::npos) << readError(c.path);
            const CliOutput r = runCliCaptured({"history", "--store", c.path});
            EXPECT_EQ(r.status, 2);
            EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
            EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        }
    }
    chmod((folder + "/unsearchable").c_str(), 0755);
}

// Read-only media, someone else's folder, a file without write permission:
// history, report and --compare still read the store.
TEST(HostileStore, StoresWeMayOnlyReadAreRead) {
    const std::string folder = ::testing::TempDir() + "read_only_folder";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string wal = folder + "/wal.sqlite";  // today's layout, in WAL mode
    const std::string old = folder + "/old.sqlite";  // the first layout: migrated in memory only
    fs::copy_file(storeWithOneRun("read_only_source.sqlite"), wal);
    fs::copy_file(storeOfTheFirstLayout("read_only_old.sqlite"), old);
    const std::string oldBefore = readFile(old);
    chmod(wal.c_str(), 0444);
    chmod(old.c_str(), 0444);
    chmod(folder.c_str(), 0555);
    {
        WithoutPermissionOverride asAnyUser;
        for (const std::string& path : {wal, old}) {
            std::string error;
            std::unique_ptr<ResultsStore> store = ResultsStore::openForReading(path, error);
            ASSERT_TRUE(store) << path << ": " << error;
            SavedRun run;
            EXPECT_TRUE(store->load(1, run, error)) << error;
            EXPECT_FALSE(run.figures.empty());
            EXPECT_EQ(store->save(sampleDocument(1.0), error), 0);
            EXPECT_EQ(ResultsStore::refusal(path), "");
            const CliOutput history = runCliCaptured({"history", "--store", path});
            EXPECT_EQ(history.status, 0) << history.err;
            EXPECT_NE(history.out.find("\n     1"), std::string::npos) << history.out;
            SavedRun compared;
            EXPECT_EQ(loadCompareRun("last", path, compared), "");
        }
        EXPECT_EQ(readFile(old), oldBefore);
    }
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(SqliteProbe(old).number("PRAGMA user_version"), 1);
}

}  // namespace
