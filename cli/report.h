// The text report: one line per figure in the result screen's words, the
// frame times of Stages 1-6, and the two processors with this machine's
// architecture.
#pragma once

#include <string>
#include <vector>

#include "cli/run_results.h"
#include "cli/system_info.h"

std::vector<std::string> figureLines(const RunResults& results);
std::vector<std::string> frameTimeLines(const RunResults& results);
std::vector<std::string> processorLines(const SystemInfo& info);
