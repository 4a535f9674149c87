// The figures of chosen runs as text for pasting elsewhere: a Markdown
// table for a forum post, CSV for a spreadsheet.
#pragma once

#include <string>
#include <vector>

#include "cli/results/saved_run.h"

// A table of the runs (label, processor, mode, the two indices; a dagger
// marks a run not directly comparable with the first, with notes saying
// why), then a table with one row per figure and, for each run, its median
// (with the true bandwidth of an "MB/S" figure) and its percentage of the
// reference machine.  From the second run on, "*" marks a median whose
// interval does not overlap the first run's.
std::string markdownReport(const std::vector<SavedRun>& runs);

// A header row, then one row per figure of each run, samples in one field
// separated by ";", numbers in their exact form; each row also carries its
// run's label, mode, benchmark version, indices and why it is not directly
// comparable with the first run ("" when it is), and last the true
// bandwidth of an "MB/S" figure in GB/s ("" for the others).
std::string csvReport(const std::vector<SavedRun>& runs);
