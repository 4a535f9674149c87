// Summaries over the passes of a figure measured by a team of threads.
#pragma once

#include <vector>

#include "cli/run/run_results.h"

// Each thread's own figure, as a median over the passes.
std::vector<double> perThreadMedians(const ThreadedResults& r, int index);
// The median over the passes of the spread between the threads
// (kernels/team_timing.h).
double spreadMedian(const ThreadedResults& r, int index);
