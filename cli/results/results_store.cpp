#include "cli/results/results_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <thread>
#include <utility>

#include "cli/results/bounded_json.h"
#include "cli/results/input_file.h"
#include "cli/results/sqlite_statement.h"
#include "cli/results/store_documents.h"
#include "cli/results/store_schema.h"
#include "cli/run/thread_counts.h"

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

constexpr Migrations kLayout{kMigrations, kStoreVersion};

int userVersion(sqlite3* db) {
    Statement s(db, "PRAGMA user_version");
    return s.step() ? static_cast<int>(s.integer(0)) : 0;
}

// Runs the migrations the store still lacks.  The layout is checked again
// inside the write transaction: another run may have migrated it while this
// one waited for the lock.
void migrate(sqlite3* db) {
    if (userVersion(db) == kStoreVersion) return;
    WriteTransaction transaction(db);
    const int version = checkedLayoutVersion(db, kLayout);
    for (int v = version; v < kStoreVersion; ++v) execSql(db, kMigrations[v]);
    execSql(db, ("PRAGMA user_version = " + std::to_string(kStoreVersion)).c_str());
    transaction.commit();
}

// Checks the layout in one read transaction, so that the version and the
// schema read belong together; returns the version.
int checkLayout(sqlite3* db) {
    execSql(db, "BEGIN");
    try {
        const int version = checkedLayoutVersion(db, kLayout);
        execSql(db, "COMMIT");
        return version;
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

// Why `path` cannot be a store at all, from the file system's point of
// view: "" when it may be one (it may also not exist yet).  SQLite opens
// the store and its companions for reading too, so that a FIFO or a device
// in their place would block it or feed it endless bytes.
std::string pathProblem(const std::string& path) {
    std::error_code ec;
    static_cast<void>(fs::status(path, ec));  // a link loop, a path too long, a folder we may not search
    if (ec && ec != std::errc::no_such_file_or_directory) return ec.message();
    if (const std::string problem = notAFileProblem(path); !problem.empty()) return problem;
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        if (const std::string problem = notAFileProblem(path + suffix); !problem.empty())
            return "its " + std::string(suffix + 1) + " file " + path + suffix + ": " + problem;
    return "";
}

// The path as an SQLite URI naming a file: "file://" and the absolute path
// with every byte but letters, digits and "/-_.~" percent-encoded, so that
// "?", "#" or "%" in a file name stay part of it.
std::string uriOf(const std::string& path) {
    std::error_code ec;
    const std::string absolute = fs::absolute(path, ec).string();
    std::string uri = "file://";
    for (const char c : ec ? path : absolute) {
        const unsigned char b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
            std::string_view("/-_.~").find(c) != std::string_view::npos) {
            uri += c;
        } else {
            static const char hex[] = "0123456789ABCDEF";
            uri += '%';
            uri += hex[b >> 4];
            uri += hex[b & 15];
        }
    }
    return uri;
}

bool hasContent(const std::string& path) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    return !ec && size > 0;
}

struct Connection {
    sqlite3* db = nullptr;
    ~Connection() { sqlite3_close(db); }
    sqlite3* release() { return std::exchange(db, nullptr); }
};

// Opens `name` with `flags` and checks its layout; the version, or throws.
int openChecked(Connection& c, const std::string& name, int flags) {
    const int rc = sqlite3_open_v2(name.c_str(), &c.db, flags, nullptr);
    if (rc != SQLITE_OK) throw StoreError(c.db != nullptr ? sqlite3_errmsg(c.db) : sqlite3_errstr(rc), rc);
    hardenConnection(c.db);
    sqlite3_busy_timeout(c.db, kBusyTimeoutMs);
    return checkLayout(c.db);
}

// Opens the store at `path` to read it and checks its layout; the version,
// or throws.
int openReadOnly(Connection& c, const std::string& path) {
    try {
        return openChecked(c, path, SQLITE_OPEN_READONLY);
    } catch (const StoreError& e) {
        // A WAL store in a folder we may not write: SQLite cannot make the
        // shared-memory file beside it.  With no log or journal waiting
        // there, the file alone is the whole store, and nobody can change it
        // while the folder stays read-only.
        const int code = e.code & 0xFF;
        if ((code != SQLITE_READONLY && code != SQLITE_CANTOPEN) || hasContent(path + "-wal") ||
            hasContent(path + "-journal"))
            throw;
        sqlite3_close(c.release());
        return openChecked(c, uriOf(path) + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
    }
}

// A store of an older layout, copied into memory and migrated there: the
// file itself stays as it is, and need not be writable.
sqlite3* migratedCopy(sqlite3* file) {
    Connection memory;
    const int opened = sqlite3_open_v2(":memory:", &memory.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    checkSqlite(memory.db, opened, "opening an in-memory database");
    hardenConnection(memory.db);
    sqlite3_backup* backup = sqlite3_backup_init(memory.db, "main", file, "main");
    if (backup == nullptr) throw StoreError(std::string("copying the store: ") + sqlite3_errmsg(memory.db));
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) throw StoreError(std::string("copying the store: ") + sqlite3_errstr(rc), rc);
    checkLayout(memory.db);  // as the copy was made, whatever happened to the file meanwhile
    migrate(memory.db);
    return memory.release();
}

std::string textOf(const ResultsDocument& value) { return value.is_string() ? value.get<std::string>() : ""; }

// The document as readSavedRun reads it; throws StoreError naming why not.
SavedRun readDocument(const ResultsDocument& document) {
    SavedRun run;
    std::string reason;
    if (!readSavedRun(document, run, reason)) throw StoreError(reason);
    return run;
}

// A column that must hold a whole number in [low, high]; a store made by
// hand may hold text or anything else there.
long long wholeColumn(const Statement& s, int column, long long low, long long high, const char* what) {
    if (s.type(column) != SQLITE_INTEGER || s.integer(column) < low || s.integer(column) > high)
        throw StoreError(std::string("it holds a ") + what + " that is not a whole number from " +
                         std::to_string(low) + " to " + std::to_string(high));
    return s.integer(column);
}

// A column that must hold a number.
double numberColumn(const Statement& s, int column, const char* what) {
    if (s.type(column) != SQLITE_FLOAT && s.type(column) != SQLITE_INTEGER)
        throw StoreError(std::string("it holds a ") + what + " that is not a number");
    return s.real(column);
}

// The figure of `row`; at most `samplesLeft` samples are read, and what is
// read is taken off it.
SavedFigure loadFigure(sqlite3* db, Statement& row, std::size_t& samplesLeft) {
    SavedFigure f;
    f.id = row.text(1);
    f.stage = static_cast<int>(wholeColumn(row, 2, 1, 8, "figure's stage"));
    f.label = row.text(3);
    f.unit = row.text(4);
    f.reference = numberColumn(row, 5, "figure's reference");
    f.threads = static_cast<int>(wholeColumn(row, 6, 1, kMaxThreads, "figure's thread count"));
    const std::size_t most = std::min(samplesLeft, kMaxSamplesPerFigure);
    Statement samples(db, "SELECT value FROM samples WHERE figure_row = ? ORDER BY position LIMIT ?");
    samples.bind(1, row.integer(0)).bind(2, static_cast<long long>(most) + 1);
    std::vector<double> values;
    while (samples.step()) {
        if (values.size() == most)
            throw StoreError("figure '" + f.id + "' of the run holds more samples than pelorin-cli reads (" +
                             std::to_string(kMaxSamplesPerFigure) + " a figure, " +
                             std::to_string(kMaxSamplesPerRun) + " a run)");
        values.push_back(numberColumn(samples, 0, "sample"));
    }
    samplesLeft -= values.size();
    setSamples(f, std::move(values));
    return f;
}

// The text of a stored run's document as export writes it; throws
// StoreError when import would refuse that text, or readSavedRun the run.
std::string exportedText(const ResultsDocument& document) {
    std::string text = documentText(document);
    // documentText writes text that is not UTF-8 as U+FFFD; a stored run
    // is passed on only as it is.
    if (text.find("\xEF\xBF\xBD") != std::string::npos) {
        try {
            static_cast<void>(document.dump());
        } catch (const ResultsDocument::type_error&) {
            throw StoreError("it holds text that is not UTF-8");
        }
    }
    if (const std::string problem = boundedJsonProblem(text); !problem.empty()) throw StoreError(problem);
    // A store may hold what no run could have written (a median its
    // samples do not give, say): such a run is not passed on.
    SavedRun run;
    std::string reason;
    if (!readSavedRun(document, run, reason))
        throw StoreError("it is not a run pelorin-cli could have written: " + reason);
    return text;
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
    const ResultsDocument config = storedJson(run.text(5), "configuration");
    if (config.is_object() && config.contains("window") && config["window"].is_boolean())
        out.window = config["window"].get<bool>();
    const ResultsDocument commandLine = storedJson(run.text(1), "command line");
    if (commandLine.is_array())
        for (const ResultsDocument& a : commandLine) out.commandLine.push_back(textOf(a));
    const ResultsDocument system = storedJson(run.text(4), "system description");
    if (system.is_object()) out.system = systemFacts(system);

    Statement warnings(db, "SELECT text FROM warnings WHERE run_id = ? ORDER BY position LIMIT ?");
    warnings.bind(1, id).bind(2, static_cast<long long>(kMaxWarningsPerRun) + 1);
    while (warnings.step()) out.warnings.push_back(warnings.text(0));

    Statement figures(db, "SELECT id, figure, stage, label, unit, reference, threads FROM figures WHERE run_id = ? "
                          "ORDER BY id LIMIT ?");
    figures.bind(1, id).bind(2, static_cast<long long>(kMaxFiguresPerRun) + 1);
    std::size_t samplesLeft = kMaxSamplesPerRun;
    while (figures.step()) {
        out.figures.push_back(loadFigure(db, figures, samplesLeft));
        if (out.figures.size() > kMaxFiguresPerRun) break;  // runProblem says so
    }
    if (const std::string problem = runProblem(out); !problem.empty()) throw StoreError(problem);
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
    if (const std::string problem = pathProblem(path); !problem.empty()) {
        error = problem;
        return nullptr;
    }
    Connection c;
    try {
        const int rc = sqlite3_open_v2(path.c_str(), &c.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc != SQLITE_OK) throw StoreError(c.db != nullptr ? sqlite3_errmsg(c.db) : sqlite3_errstr(rc), rc);
        hardenConnection(c.db);
        sqlite3_busy_timeout(c.db, kBusyTimeoutMs);
        checkLayout(c.db);  // before anything is written to it
        useWriteAheadLog(c.db);
        execSql(c.db, "PRAGMA foreign_keys = ON");
        migrate(c.db);
    } catch (const std::exception& e) {
        error = e.what();
        return nullptr;
    }
    return std::unique_ptr<ResultsStore>(new ResultsStore(c.release(), path, false));
}

std::unique_ptr<ResultsStore> ResultsStore::openForReading(const std::string& path, std::string& error) {
    if (const std::string problem = pathProblem(path); !problem.empty()) {
        error = problem;
        return nullptr;
    }
    try {
        Connection c;
        const int version = openReadOnly(c, path);
        sqlite3* db = version == kStoreVersion ? c.release() : migratedCopy(c.db);
        return std::unique_ptr<ResultsStore>(new ResultsStore(db, path, true));
    } catch (const std::exception& e) {
        error = e.what();
        return nullptr;
    }
}

std::string ResultsStore::refusal(const std::string& path) {
    if (const std::string problem = pathProblem(path); !problem.empty()) return problem;
    std::error_code ec;
    if (!fs::exists(path, ec)) return "";
    try {
        Connection c;
        openReadOnly(c, path);
        return "";
    } catch (const std::exception& e) {
        return e.what();
    }
}

ResultsStore::~ResultsStore() { sqlite3_close(db_); }

long long ResultsStore::save(const ResultsDocument& document, std::string& error) {
    if (forReading_) {
        error = "the store was opened for reading only";
        return 0;
    }
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
        if (!alreadyStored) {
            id = insertRun(db_, document, run);
            // A run is taken only when it can travel on: its export is
            // longer than the file (numbers spelled out, a null for each
            // missing best run) and must still be a file import reads.
            try {
                exportedText(storedDocument(db_, id));
            } catch (const StoreError& e) {
                throw StoreError(std::string("its export would not be a results file pelorin-cli reads: ") + e.what());
            }
        }
        transaction.commit();  // also keeps the content digests findStoredRun filled in
        return id;
    } catch (const std::exception& e) {
        error = e.what();
        return 0;
    }
}

bool ResultsStore::exportRun(long long id, ResultsDocument& out, std::string& error, std::string* text) {
    try {
        out = storedDocument(db_, id);
        std::string written = exportedText(out);
        if (text != nullptr) *text = std::move(written);
        return true;
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

bool ResultsStore::holds(long long id, bool& stored, std::string& error) {
    try {
        Statement s(db_, "SELECT 1 FROM runs WHERE id = ?");
        s.bind(1, id);
        stored = s.step();
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
