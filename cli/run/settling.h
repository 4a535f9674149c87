// When a run with --repeat auto has measured enough: each figure's
// interval of the median must lie close around the median.
#pragma once

#include <vector>

#include "cli/run/run_results.h"

// True when the samples have an interval of the median (statistics.h) that
// lies within +-percent of the median.
bool settledWithin(const std::vector<double>& samples, double percent);

// A figure as measured: its index and the threads that measured it together.
struct MeasuredFigure {
    int index = 0;
    int threads = 1;
};

// The figures of the run that have not settled: the one-thread figures
// first, then each thread count's, in the figures' order.
std::vector<MeasuredFigure> unsettledFigures(const RunResults& results, double percent);
