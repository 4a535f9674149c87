// Every pelorin-cli run, kept in one SQLite file: its time, command line,
// system description, configuration, warnings and every figure with all its
// samples.  A run is saved in one transaction, so a store never holds half
// a run; WAL and a busy timeout let two runs at once both save.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/results/results_document.h"
#include "cli/results/saved_run.h"

struct sqlite3;

// The layout version the code writes (PRAGMA user_version).  Older stores
// are migrated step by step when opened.
constexpr int kStoreVersion = 3;

// $XDG_DATA_HOME/pelorin/results.sqlite, or ~/.local/share/pelorin/ when the
// variable is unset or not an absolute path.  "" with `error` set when
// neither it nor HOME says where.
std::string defaultStorePath(std::string& error);

// The current time in the form RunFacts keeps.
std::string utcNow();

class ResultsStore {
public:
    // Opens the store, creating the file (and its folder) when missing, and
    // brings its layout up to date.  Null with `error` set when that fails.
    static std::unique_ptr<ResultsStore> open(const std::string& path, std::string& error);
    // Opens an existing store to read it, never writing to it: a store on
    // read-only media, in someone else's folder or without write permission
    // reads as well as any.  A store of an older layout is copied into
    // memory and brought up to date there.  save() refuses.
    static std::unique_ptr<ResultsStore> openForReading(const std::string& path, std::string& error);
    // Why the store at `path` could not take a run, as far as can be told
    // without writing to it: "" when it is a store of ours or does not exist
    // yet.  For a run, to say so before anything is measured.
    static std::string refusal(const std::string& path);
    ~ResultsStore();
    ResultsStore(const ResultsStore&) = delete;
    ResultsStore& operator=(const ResultsStore&) = delete;

    // Saves the run of `document` (of any version readSavedRun reads); its
    // id, or 0 with `error` set (nothing is saved then).
    long long save(const ResultsDocument& document, std::string& error);

    // Saves the run of `document` unless the store holds it already: the
    // same run_uuid or, for a document without one, the same content.  The
    // id of the run saved or found (`alreadyStored` tells which), or 0 with
    // `error` set.  A run whose export would be refused by import is not
    // saved: whatever is imported can be exported and imported again.
    long long importRun(const ResultsDocument& document, bool& alreadyStored, std::string& error);

    // The run with this id as a results document of this version, and in
    // `text` (when given) as a results file holds it; false with `error`
    // set when there is none, or when import would refuse that file.
    bool exportRun(long long id, ResultsDocument& out, std::string& error, std::string* text = nullptr);

    // The run with this id; false with `error` set when there is none or
    // it cannot be trusted into reports (see runProblem).
    bool load(long long id, SavedRun& out, std::string& error);

    // Whether a run with this id is stored, readable or not; false with
    // `error` set when the store cannot say.
    bool holds(long long id, bool& stored, std::string& error);

    // The ids of the newest `count` runs (all runs for count <= 0), oldest first.
    bool newestIds(int count, std::vector<long long>& ids, std::string& error);

    const std::string& path() const { return path_; }

private:
    ResultsStore(sqlite3* db, std::string path, bool forReading)
        : db_(db), path_(std::move(path)), forReading_(forReading) {}
    sqlite3* db_;
    std::string path_;
    bool forReading_;
};
