// The results document that --json writes, --compare reads back and the
// results store keeps.  Its shape is described by cli/results/results.schema.json;
// keep the two together.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <utility>
#include <vector>

#include "cli/run/run_config.h"
#include "cli/run/run_results.h"
#include "cli/run/statistics.h"
#include "cli/results/saved_run.h"
#include "cli/run/system_info.h"

// Keys keep the order they were written in, as people read the file.
using ResultsDocument = nlohmann::ordered_json;

// 2 added system.architecture, 3 the thread count of each result and of the
// run, 4 what lets a run travel (its random id, the benchmark version, its
// label, its start and its command line) and config.repeat_rule (with
// --repeat auto, config.repeat is the number of passes it took).  Documents
// of version 1 are still read; their figures used one thread.
constexpr int kSchemaVersion = 4;
constexpr int kOldestReadableSchemaVersion = 1;

// What the measurements do not say about a run.
struct RunFacts {
    std::string startedAt;  // UTC, "2026-12-07T09:46:42Z"
    std::vector<std::string> commandLine;
    std::string label;  // --label; "" for none
};

// The document of a run, with a new random run_uuid.
ResultsDocument resultsDocument(const RunResults& results, const RunConfig& config, const SystemInfo& system,
                                const std::vector<std::string>& warnings, const RunFacts& facts);

// One result of the document: a figure with its samples and statistics.
ResultsDocument figureResult(const RunResults& results, int index);
// The same for a figure measured with more threads, with each thread's own
// figure and the processors they ran on.
ResultsDocument threadedFigureResult(const ThreadedResults& results, int index);
// Text as a value of the document; unknown (empty) text is written as null.
ResultsDocument textOrNull(const std::string& text);
// A result's median, min, max and the interval of its median, from its samples' summary.
void putMedianAndRange(ResultsDocument& result, const Summary& summary);

// The document as a results file holds it: compact JSON on one line and a
// newline, so that every run the limits of a results file allow fits in
// one (indented, the largest would be 70 % larger: too large).  Every
// control character a terminal would act on (C0, DEL, C1, the marks that
// reorder or break lines: isTerminalControl) is written as a \u escape,
// so that the document can be shown on a terminal as it is and still reads
// back to the same text.
std::string documentText(const ResultsDocument& document);

// Parses a whole document.  On failure returns false and names the problem
// and where it is in `error`.
bool parseDocument(const std::string& text, ResultsDocument& out, std::string& error);

// Reads a document written by resultsDocument, of this or an older schema
// version.  On failure returns false with a short reason.
bool readSavedRun(const ResultsDocument& document, SavedRun& out, std::string& reason);

// The system object as name and printable value, for reports.
std::vector<std::pair<std::string, std::string>> systemFacts(const ResultsDocument& system);
