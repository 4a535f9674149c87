// The text report: one line per figure in the result screen's words, the
// frame times of Stages 1-6, and the two processors with this machine's
// architecture.
#pragma once

#include <string>
#include <vector>

#include "cli/run/run_config.h"
#include "cli/run/run_results.h"
#include "cli/run/statistics.h"
#include "cli/run/system_info.h"

// The note beside a figure: the true bandwidth of a memory figure, or the
// rate of an arithmetic one by the nanosecond clock (`threads` x 100,000,000
// turns over each pass's best run); "" for frame rates.
std::string preciseNote(const Figure& f, double median, const std::vector<double>& kernelSeconds, int threads);

// "  median of N; min .., max ..; interval of the median .." for two or more
// passes, "" for one.
std::string spreadNote(const Summary& s, bool frameRate);

std::vector<std::string> figureLines(const RunResults& results);
std::vector<std::string> frameTimeLines(const RunResults& results);
// With --repeat auto: how many passes it took and which figures had not
// settled when the passes ran out.  Nothing for a fixed number of passes.
std::vector<std::string> repeatRuleLines(const RunResults& results, const RepeatRule& rule);
std::vector<std::string> processorLines(const SystemInfo& info);
