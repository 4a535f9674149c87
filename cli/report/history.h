// `pelorin-cli history`: one line per saved run with a few headline figures.
#pragma once

#include <string>
#include <vector>

#include "cli/results/saved_run.h"

// A heading, then one line per run, oldest first: id, date, architecture,
// processor, and the headline figures as percentages of the reference
// machine ("-" where the run did not measure one).  Stored text is made
// safe for a terminal.
std::vector<std::string> historyLines(const std::vector<SavedRun>& runs);

// The same a line at a time, for a store too large to hold in memory at once.
std::string historyHeading();
std::string historyLine(const SavedRun& run);
