// Where runs are read from: the results store (made when a run is saved,
// only opened when runs are read) and results files.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/results/results_store.h"

// Opens `chosenPath`, or the default store when it is "", creating it when
// missing.  On failure the error names the file and the reason.
std::unique_ptr<ResultsStore> openResultsStore(const std::string& chosenPath, std::string& error);

// The same for a command that only reads (history, report, --compare,
// export): a store that does not exist is not made, and nothing is written
// to one that does, so that a store the user may only read can be read.
std::unique_ptr<ResultsStore> openExistingStore(const std::string& chosenPath, std::string& error);

// Reads and parses a results file within the limits of bounded_json.h, as
// readInputFile reads it: only a regular file, never more than one byte
// past the size limit.  On failure returns false with a short reason in
// `error` that does not repeat the path ("No such file or directory", "it
// is a FIFO, not a file", "it is not JSON (...)", ...).
bool readDocumentFile(const std::string& path, ResultsDocument& out, std::string& error);

// Digits only, short enough for a run id.
bool allDigits(const std::string& text);

// True when --compare's argument names a stored run ("last" or an id)
// rather than a file.
bool namesStoredRun(const std::string& which);

// Reads the run --compare names: "last", a stored run's id, or a results
// file.  "" when it could be read, else why not.
std::string loadCompareRun(const std::string& which, const std::string& storePath, SavedRun& out);

// What the runs of one report may hold together: enough for thousands of
// real runs, few enough that the report stays a size one can open.
constexpr std::size_t kMaxReportFigures = 200000;
constexpr std::size_t kMaxReportSamples = 16000000;
// A report has a row for each figure and a column for each run.
constexpr std::size_t kMaxReportCells = 1000000;

// A stored run that could not be read, and why.
struct UnreadableRun {
    long long id = 0;
    std::string reason;
};

// Reads the runs `ids` names, in that order, within the limits above; each
// run that cannot be read (damaged text or JSON, figures that make no sense)
// goes to `unreadable` instead, and the others are still read.  "" unless
// the runs read are beyond those limits together (why, then).
std::string loadRuns(ResultsStore& store, const std::vector<long long>& ids, std::vector<SavedRun>& runs,
                     std::vector<UnreadableRun>& unreadable);
