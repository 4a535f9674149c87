// `pelorin-cli report`: one self-contained HTML page (inline SVG and CSS,
// no script, nothing fetched) showing chosen runs side by side.
#pragma once

#include <string>
#include <vector>

#include "cli/results/saved_run.h"

// The runs with their labels, machines and command lines; the two indices
// and every figure as a chart with a row per run: a bar of its median as a
// percentage of the reference machine (whose 100 % is a dashed line), the
// interval of the median as a whisker, the measured value with its unit
// (and the true bandwidth of an "MB/S" figure), the percentage and the
// change against the first run.  Runs not directly comparable with the
// first are marked in every chart; trend lines join runs of one machine and
// mode from three on.  Then the system descriptions in human units, and
// the warnings.
std::string htmlReport(const std::vector<SavedRun>& runs);
