// The "MB/S" figures of Stage 7 are on the benchmark's own scale: 4096
// divided by the seconds a run of 1 GiB takes, four times the mebibytes
// moved per second.  Every output that shows one also shows the true
// bandwidth behind it, in the same words as the text report.
#pragma once

#include <string>

// Whether a figure with this unit is on the "MB/S" scale.
inline bool onBandwidthScale(const std::string& unit) { return unit == "MB/S"; }

// The bytes moved per second behind an "MB/S" figure, in 10^9 bytes per
// second.
double trueGigabytesPerSecond(double figure);

// The same as text: "16.329 GB/s".
std::string trueBandwidthText(double figure);

// `text` (a figure as a table shows it) with the true bandwidth after it,
// "62290.02 (16.329 GB/s)", when `unit` is "MB/S"; else `text` alone.
std::string withTrueBandwidth(const std::string& text, const std::string& unit, double figure);
