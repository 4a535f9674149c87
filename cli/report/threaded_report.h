// The report's part for Stages 7 and 8 with more than one thread: each
// thread count's figures with every thread's own figure and their spread,
// and the scaling table (figure by thread count, speed-up over one thread).
#pragma once

#include <string>
#include <vector>

#include "cli/run/run_results.h"

std::vector<std::string> threadedFigureLines(const RunResults& results);
std::vector<std::string> scalingLines(const RunResults& results);
