// `pelorin-cli history`: one line per saved run with a few headline figures.
#pragma once

#include <string>
#include <vector>

#include "cli/results/saved_run.h"

// A heading, then one line per run, oldest first: id, date, architecture,
// processor, and the headline figures as percentages of the reference
// machine ("-" where the run did not measure one).
std::vector<std::string> historyLines(const std::vector<SavedRun>& runs);
