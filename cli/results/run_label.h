// The name a person gives a run with --label ("office desktop", "driver
// 24.3").  It travels in the results document and the store and is shown
// on terminals and in reports, so the same rule holds wherever it comes
// from: bounded, valid UTF-8, no control characters (isTerminalControl).
#pragma once

#include <string>

constexpr std::size_t kMaxLabelBytes = 200;

// "" when `label` may name a run, else why not (without quoting it).
std::string labelProblem(const std::string& label);
