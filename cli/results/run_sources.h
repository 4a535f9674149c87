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

// The same for a command that only reads: a store that does not exist is
// not made.
std::unique_ptr<ResultsStore> openExistingStore(const std::string& chosenPath, std::string& error);

// Digits only, short enough for a run id.
bool allDigits(const std::string& text);

// True when --compare's argument names a stored run ("last" or an id)
// rather than a file.
bool namesStoredRun(const std::string& which);

// Reads the run --compare names: "last", a stored run's id, or a results
// file.  "" when it could be read, else why not.
std::string loadCompareRun(const std::string& which, const std::string& storePath, SavedRun& out);

// The whole of a file; false with `error` set (the system's reason) when it
// cannot be read.
bool readWholeFile(const std::string& path, std::string& text, std::string& error);

// The results document in `text` and the run in it: "" when it is one,
// else why not ("not JSON (...)", or what readSavedRun found).
std::string readResultsText(const std::string& text, ResultsDocument& document, SavedRun& run);

// Reads the runs `ids` names, in that order; "" when all could be read,
// else why the first one could not.
std::string loadRuns(ResultsStore& store, const std::vector<long long>& ids, std::vector<SavedRun>& runs);
