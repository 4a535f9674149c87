// A run's system description as a person reads it in a report: names as
// headings and values in human units.  The results file and the CSV keep
// the raw values.
#pragma once

#include <string>

#include "cli/results/saved_run.h"

// The heading of a fact: "memory_bytes" is "Memory"; a name we do not
// know is shown as it is.
std::string factHeading(const std::string& name);

// The value of the fact `name` of `run` ("" when the run has none) in
// human units: memory in GiB, the load average to two places, yes or no,
// the display as "1920x1080, 60 Hz, DP-1, SDL_PIXELFORMAT_XRGB8888" and
// "none" for a run drawn offscreen, whose driver's display does not exist.
// A value not in the form we wrote is shown as it is.
std::string shownFact(const SavedRun& run, const std::string& name, const std::string& value);

// Bytes as "23.5 GiB".
std::string gibText(double bytes);
