// The commands that read and fill the results store: history, report,
// export and import, and the report files a run writes of itself.
#pragma once

#include <string>
#include <vector>

#include "cli/results/saved_run.h"
#include "cli/runner.h"

// `pelorin-cli history ...` and `pelorin-cli report ...`, with the words
// after the command; exit status as for runCli.
int runHistory(const std::vector<std::string>& args, const CliStreams& streams);
int runReport(const std::vector<std::string>& args, const CliStreams& streams);
// `pelorin-cli export ID|last ...`: a stored run as a results file.
int runExport(const std::vector<std::string>& args, const CliStreams& streams);
// `pelorin-cli import FILE...`: each file's run stored once; one line per
// file; exit status 1 when any file was refused.
int runImport(const std::vector<std::string>& args, const CliStreams& streams);

// The report files to write; an empty path is not written.
struct ReportFiles {
    std::string html;
    std::string markdown;
    std::string csv;
};

// Writes each named report of `runs`; false when one could not be written,
// each problem printed.
bool writeReportFiles(const ReportFiles& files, const std::vector<SavedRun>& runs, const CliStreams& streams);
