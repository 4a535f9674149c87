// The commands that read and fill the results store: history, report,
// export and import, and the report files a run writes of itself.
#pragma once

#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/results/saved_run.h"
#include "cli/runner.h"

// A run named but not there, or a store or file that cannot be read: the
// same exit status in every command.
constexpr int kStatusUnreadable = 2;

// `pelorin-cli history` and `pelorin-cli report`; exit status as for runCli.
int runHistory(const HistoryOptions& options, const CliStreams& streams);
int runReport(const ReportOptions& options, const CliStreams& streams);
// `pelorin-cli export RUN`: a stored run as a results file.
int runExport(const ExportOptions& options, const CliStreams& streams);
// `pelorin-cli import FILE...`: each file's run stored once; one line per
// file; exit status 1 when any file was refused.
int runImport(const ImportOptions& options, const CliStreams& streams);

// The report files to write; an empty path is not written.
struct ReportFiles {
    std::string html;
    std::string markdown;
    std::string csv;
};

// Writes each named report of `runs` ("-": to streams.out); false when one
// could not be written, each problem printed.
bool writeReportFiles(const ReportFiles& files, const std::vector<SavedRun>& runs, const CliStreams& streams);
