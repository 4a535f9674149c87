// Each figure of this run beside the same figure of a saved run.
#pragma once

#include <string>
#include <vector>

#include "cli/results/results_document.h"
#include "cli/run/run_results.h"

// (now - before) / before in percent; 0 when before is 0.
double changePercent(double now, double before);

// A heading naming the saved run, then one line per figure of this run
// (the one-thread figures first, then each thread count's), each beside the
// saved figure of the same thread count; a line ends in "*" when both runs
// have intervals and they do not overlap.  The saved run's name and
// processor are made safe for a terminal.
std::vector<std::string> compareLines(const RunResults& results, const SavedRun& saved, const std::string& savedName);
