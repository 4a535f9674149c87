// What a run will do, from its options: for the frame loop, for the
// progress line, and for the run it is to be judged against.
#pragma once

#include "cli/options.h"
#include "cli/results/saved_run.h"
#include "cli/run/frame_driver.h"
#include "cli/run/progress_estimate.h"

// Which stages the program's own frame loop measures (Stages 7 and 8 only
// when one thread is asked for), and which run threaded beside it.
DriverPlan planOf(const Options& options);

// True when the saved run holds a figure this run will measure: the same
// figure with the same thread count.
bool sharesPlannedFigure(const Options& options, const SavedRun& saved);

// What the progress line needs to know of the run.
ProgressPlan progressPlanOf(const Options& options, const DriverPlan& plan);
