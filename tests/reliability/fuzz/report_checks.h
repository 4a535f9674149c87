// What the readers' fuzz targets do with every run they manage to read:
// render each report from it, as history, --compare and report would, and
// stop when stored text got out of its place in any of them.
#pragma once

#include <vector>

#include "cli/results/saved_run.h"

void renderAndCheck(const std::vector<SavedRun>& runs);
