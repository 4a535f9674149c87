// `pelorin-cli check BASELINE CANDIDATE`: judges one stored or saved run
// against another (cli/report/verdict.h) and measures nothing.
#pragma once

#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/results/saved_run.h"
#include "cli/runner.h"

// With the options after "check".  Exit status: 3 when any figure is worse,
// 4 when not one figure could be judged, 0 otherwise; 2 for bad usage
// (also a run that cannot be read, or runs that share no figure); 1 when
// the Markdown file cannot be written and no figure is worse.
int runCheck(const CheckOptions& options, const CliStreams& streams);

// How a verdict or a comparison names a run read by loadCompareRun from
// `which`: "run #3" for a stored run, else `which` itself (a file name).
// runTitle gives its label or processor beside it.
std::string checkedRunName(const std::string& which, const SavedRun& run);
