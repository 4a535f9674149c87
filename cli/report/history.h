// `pelorin-cli history`: one line per saved run with a few headline figures.
#pragma once

#include <string>
#include <vector>

#include "cli/results/saved_run.h"

// A heading, then one line per run, oldest first: id, date, mode (window or
// offscreen), architecture, label or processor, the Graphics and Processor
// indices, and the headline figures as percentages of the reference machine
// ("-" where the run did not measure one).  "!" after the id marks a run
// that is not directly comparable with `thisProgram` (another benchmark
// version or architecture); a note below the table says why for each.
// Stored text is made safe for a terminal.
std::vector<std::string> historyLines(const std::vector<SavedRun>& runs, const SavedRun& thisProgram);

// The same a line at a time, for a store too large to hold in memory at
// once: the heading, a run's line, and its note ("" when it has none).
std::string historyHeading();
std::string historyLine(const SavedRun& run, const SavedRun& thisProgram);
std::string historyNote(const SavedRun& run, const SavedRun& thisProgram);
// The line of a stored run that cannot be read: its id marked "?" and the
// reason, made safe for a terminal.
std::string historyUnreadableLine(long long id, const std::string& reason);

// This build's benchmark version and this machine's architecture, as a run
// that history holds the stored runs against.
SavedRun thisProgram();
