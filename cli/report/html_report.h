// `pelorin-cli report`: one self-contained HTML page (inline SVG and CSS,
// no script, nothing fetched) showing chosen runs side by side.
#pragma once

#include <string>
#include <vector>

#include "cli/results/saved_run.h"

// For each figure a chart with one bar per run: the median as a percentage
// of the reference machine, whose 100 % is drawn as a line, and the
// interval of the median as a whisker.  Runs whose interval does not overlap
// the first run's are marked; with more than two runs a trend line follows
// each chart.  Then the runs' system descriptions and warnings.
std::string htmlReport(const std::vector<SavedRun>& runs);
