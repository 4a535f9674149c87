// Two figures that compare machines at a glance: the geometric means of a
// run's percentages of the reference machine, one for drawing and one for
// the processor and its memory.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/results/saved_run.h"

// The six one-thread frame rates of Stages 1-6.
std::optional<double> graphicsIndex(const SavedRun& run);

// The thirteen one-thread figures of Stages 7 and 8.
std::optional<double> processorIndex(const SavedRun& run);

// The run's text report: a line for each index that can be computed.
std::vector<std::string> indexLines(const SavedRun& run);

// "87.3%", or "-" for an index that cannot be computed: one of its figures
// is missing or not positive, or its reference unknown.
std::string indexText(const std::optional<double>& index);
