// Which runs a report may set side by side as measurements of the same
// thing: the same machine, drawing the same way, measured by the same
// benchmark on the same architecture.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cli/results/saved_run.h"

// Why the figures of `run` cannot be compared directly with those of
// `first`: "" when they can, else the reasons joined by "; " ("drawn in a
// window and offscreen; measured on CPU A and CPU B").  Runs differ when
// one drew in a window and the other offscreen, when they ran on
// different machines (processor, logical processors, or memory more than
// 5 % apart), on different architectures or by different benchmark
// versions.  What is unknown for either run is not held against them.
std::string notComparableWith(const SavedRun& run, const SavedRun& first);

// The runs a trend line may join: groups of at least three runs of one
// machine and mode, by one benchmark version on one architecture (here an
// unknown processor or version is a value of its own), each group in date
// order (runs without a date first, then by id) and the groups in the order
// of their earliest runs.  Indices into `runs`; a run belongs to one group
// at most.
std::vector<std::vector<std::size_t>> trendGroups(const std::vector<SavedRun>& runs);

// The value of the system fact `name` as the run holds it; "" when absent.
std::string systemFact(const SavedRun& run, const std::string& name);
