#include "cli/results/results_store.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <thread>

#include "cli/results/sqlite_statement.h"
#include "cli/results/store_documents.h"

namespace {

namespace fs = std::filesystem;

// Long enough for another run's save to finish; short enough that a store
// held by a stuck process does not hang the run for long.
constexpr int kBusyTimeoutMs = 5000;

// kMigrations[v] takes a store from layout version v to v + 1.  Never edit
// a step that has shipped; add a new one.
const char* const kMigrations[kStoreVersion] = {
    // 1: runs, their warnings, figures and samples.
    "CREATE TABLE runs (id INTEGER PRIMARY KEY, started_at TEXT NOT NULL, command_line TEXT NOT NULL,"
    "                   cpu TEXT NOT NULL, system TEXT NOT NULL, config TEXT NOT NULL);"
    "CREATE TABLE warnings (run_id INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,"
    "                       position INTEGER NOT NULL, text TEXT NOT NULL, PRIMARY KEY (run_id, position));"
    "CREATE TABLE figures (id INTEGER PRIMARY KEY, run_id INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,"
    "                      figure TEXT NOT NULL, stage INTEGER NOT NULL, label TEXT NOT NULL, unit TEXT NOT NULL,"
    "                      reference REAL NOT NULL);"
    "CREATE TABLE samples (figure_row INTEGER NOT NULL REFERENCES figures(id) ON DELETE CASCADE,"
    "                      position INTEGER NOT NULL, value REAL NOT NULL, best_run_seconds REAL,"
    "                      PRIMARY KEY (figure_row, position));",
    // 2: the machine's architecture on each run; a thread count on each
    // figure, for figures measured on more than one thread.
    "ALTER TABLE runs ADD COLUMN architecture TEXT NOT NULL DEFAULT '';"
    "ALTER TABLE figures ADD COLUMN threads INTEGER NOT NULL DEFAULT 1;"
    "CREATE INDEX figures_of_run ON figures (run_id);",
    // 3: what lets a run travel between stores.  Its random id, unique; runs
    // stored before have none (NULL) and are recognised by their content
    // instead: the same run may sit in other stores and --json files
    // without an id, and one made up here would differ from each of them.
    // The benchmark version and label (NULL when unknown or none); a digest
    // of the content to find a run by it; and each figure's whole result
    // entry but its samples, so that a stored run gives its document back
    // complete.
    "ALTER TABLE runs ADD COLUMN run_uuid TEXT;"
    "ALTER TABLE runs ADD COLUMN benchmark_version TEXT;"
    "ALTER TABLE runs ADD COLUMN label TEXT;"
    "ALTER TABLE runs ADD COLUMN content_digest TEXT;"
    "ALTER TABLE figures ADD COLUMN entry TEXT;"
    "CREATE UNIQUE INDEX runs_by_uuid ON runs (run_uuid);"
    "CREATE INDEX runs_by_content ON runs (content_digest);",
};

// WAL lets a run save while another reads or saves.  Switching a store to
// WAL needs it to itself for a moment, and SQLite answers "locked" at once
// there instead of waiting through the busy handler, so two runs opening a
// new store together would see one of them fail: wait here instead.  The
// mode is kept in the file, so this is needed only once per store.
void useWriteAheadLog(sqlite3* db) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
    for (;;) {
        const int rc = sqlite3_exec(db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
        if (rc != SQLITE_BUSY || std::chrono::steady_clock::now() >= deadline) {
            checkSqlite(db, rc, "PRAGMA journal_mode = WAL");
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

int userVersion(sqlite3* db) {
    Statement s(db, "PRAGMA user_version");
    return s.step() ? static_cast<int>(s.integer(0)) : 0;
}

bool hasTables(sqlite3* db) {
    Statement s(db, "SELECT count(*) FROM sqlite_schema WHERE type = 'table'");
    return s.step() && s.integer(0) > 0;
}

void migrate(sqlite3* db) {
    if (userVersion(db) == kStoreVersion) return;
    WriteTransaction transaction(db);
    // Another run may have migrated while this one waited for the lock.
    const int version = userVersion(db);
    if (version > kStoreVersion)
        throw StoreError("it was written by a newer pelorin-cli (layout version " + std::to_string(version) +
                         "; this one knows up to " + std::to_string(kStoreVersion) + ")");
    if (version == 0 && hasTables(db)) throw StoreError("it is an SQLite database, but not a pelorin-cli results store");
    for (int v = version; v < kStoreVersion; ++v) execSql(db, kMigrations[v]);
    execSql(db, ("PRAGMA user_version = " + std::to_string(kStoreVersion)).c_str());
    transaction.commit();
}

std::string textOf(const ResultsDocument& value) { return value.is_string() ? value.get<std::string>() : ""; }

// The document as readSavedRun reads it; throws StoreError naming why not.
SavedRun readDocument(const ResultsDocument& document) {
    SavedRun run;
    std::string reason;
    if (!readSavedRun(document, run, reason)) throw StoreError(reason);
    return run;
}

SavedFigure loadFigure(sqlite3* db, Statement& row) {
    SavedFigure f;
    f.id = row.text(1);
    f.stage = static_cast<int>(row.integer(2));
    f.label = row.text(3);
    f.unit = row.text(4);
    f.reference = row.real(5);
    f.threads = static_cast<int>(row.integer(6));
    Statement samples(db, "SELECT value FROM samples WHERE figure_row = ? ORDER BY position");
    samples.bind(1, row.integer(0));
    std::vector<double> values;
    while (samples.step()) values.push_back(samples.real(0));
    setSamples(f, std::move(values));
    return f;
}

SavedRun loadRun(sqlite3* db, long long id) {
    Statement run(db,
                  "SELECT started_at, command_line, cpu, architecture, system, config, run_uuid, benchmark_version, "
                  "label FROM runs WHERE id = ?");
    run.bind(1, id);
    if (!run.step()) throw StoreError("there is no run " + std::to_string(id));
    SavedRun out;
    out.id = id;
    out.startedAt = run.text(0);
    out.cpu = run.text(2);
    out.architecture = run.text(3);
    out.uuid = run.text(6);
    out.benchmarkVersion = run.text(7);
    out.label = run.text(8);
    const ResultsDocument config = ResultsDocument::parse(run.text(5), nullptr, false);
    if (config.is_object() && config.contains("window") && config["window"].is_boolean())
        out.window = config["window"].get<bool>();
    const ResultsDocument commandLine = ResultsDocument::parse(run.text(1), nullptr, false);
    if (commandLine.is_array())
        for (const ResultsDocument& a : commandLine) out.commandLine.push_back(textOf(a));
    const ResultsDocument system = ResultsDocument::parse(run.text(4), nullptr, false);
    if (system.is_object()) out.system = systemFacts(system);

    Statement warnings(db, "SELECT text FROM warnings WHERE run_id = ? ORDER BY position");
    warnings.bind(1, id);
    while (warnings.step()) out.warnings.push_back(warnings.text(0));

    Statement figures(db, "SELECT id, figure, stage, label, unit, reference, threads FROM figures WHERE run_id = ? ORDER BY id");
    figures.bind(1, id);
    while (figures.step()) out.figures.push_back(loadFigure(db, figures));
    return out;
}

}  // namespace

std::string defaultStorePath(std::string& error) {
    const char* data = std::getenv("XDG_DATA_HOME");
    fs::path base;
    // A relative XDG_DATA_HOME is invalid and is to be ignored.
    if (data != nullptr && data[0] == '/') {
        base = data;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] == '\0') {
            error = "neither XDG_DATA_HOME nor HOME is set, so there is no place for the results store (see --store)";
            return "";
        }
        base = fs::path(home) / ".local" / "share";
    }
    return (base / "pelorin" / "results.sqlite").string();
}

std::string utcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::unique_ptr<ResultsStore> ResultsStore::open(const std::string& path, std::string& error) {
    const fs::path folder = fs::path(path).parent_path();
    std::error_code ec;
    if (!folder.empty()) fs::create_directories(folder, ec);
    if (ec) {
        error = "cannot make its folder " + folder.string() + ": " + ec.message();
        return nullptr;
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<ResultsStore> store(new ResultsStore(db, path));
    if (rc != SQLITE_OK) {
        error = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        return nullptr;
    }
    try {
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        useWriteAheadLog(db);
        execSql(db, "PRAGMA foreign_keys = ON");
        migrate(db);
    } catch (const std::exception& e) {
        error = e.what();
        return nullptr;
    }
    return store;
}

ResultsStore::~ResultsStore() { sqlite3_close(db_); }

long long ResultsStore::save(const ResultsDocument& document, std::string& error) {
    try {
        const SavedRun run = readDocument(document);
        WriteTransaction transaction(db_);
        const long long id = insertRun(db_, document, run);
        transaction.commit();
        return id;
    } catch (const std::exception& e) {  // SQLite's failures and a document of the wrong shape alike
        error = e.what();
        return 0;
    }
}

long long ResultsStore::importRun(const ResultsDocument& document, bool& alreadyStored, std::string& error) {
    try {
        const SavedRun run = readDocument(document);
        WriteTransaction transaction(db_);
        long long id = findStoredRun(db_, document, run);
        alreadyStored = id != 0;
        if (!alreadyStored) id = insertRun(db_, document, run);
        transaction.commit();  // also keeps the content digests findStoredRun filled in
        return id;
    } catch (const std::exception& e) {
        error = e.what();
        return 0;
    }
}

bool ResultsStore::exportRun(long long id, ResultsDocument& out, std::string& error) {
    try {
        out = storedDocument(db_, id);
        (void)out.dump();  // what a store made by hand may hold: text that is not UTF-8 cannot be written
        return true;
    } catch (const ResultsDocument::type_error&) {
        error = "it holds text that is not UTF-8";
        return false;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

bool ResultsStore::load(long long id, SavedRun& out, std::string& error) {
    try {
        out = loadRun(db_, id);
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}

bool ResultsStore::newestIds(int count, std::vector<long long>& ids, std::string& error) {
    try {
        Statement s(db_, "SELECT id FROM (SELECT id FROM runs ORDER BY id DESC LIMIT ?) ORDER BY id");
        s.bind(1, static_cast<long long>(count > 0 ? count : -1));
        ids.clear();
        while (s.step()) ids.push_back(s.integer(0));
        return true;
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
}
