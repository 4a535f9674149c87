// The results store from the command line: finding and opening it, the
// runs --compare names in it, and the history and report commands.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/results_store.h"
#include "cli/runner.h"

// Opens `chosenPath`, or the default store when it is "".  On failure the
// error names the file and the reason.
std::unique_ptr<ResultsStore> openResultsStore(const std::string& chosenPath, std::string& error);

// True when --compare's argument names a stored run ("last" or an id)
// rather than a file.
bool namesStoredRun(const std::string& which);

// Reads the run --compare names: "last", a stored run's id, or a results
// file.  "" when it could be read, else why not.
std::string loadCompareRun(const std::string& which, const std::string& storePath, SavedRun& out);

// `pelorin-cli history ...` and `pelorin-cli report ...`, with the words
// after the command; exit status as for runCli.
int runHistory(const std::vector<std::string>& args, const CliStreams& streams);
int runReport(const std::vector<std::string>& args, const CliStreams& streams);

// The report files to write; an empty path is not written.
struct ReportFiles {
    std::string html;
    std::string markdown;
    std::string csv;
};

// Writes each named report of `runs`; false when one could not be written,
// each problem printed.
bool writeReportFiles(const ReportFiles& files, const std::vector<SavedRun>& runs, const CliStreams& streams);

// Writes `text` to `path`; "" on success, else why not.
std::string writeTextFile(const std::string& path, const std::string& text);
