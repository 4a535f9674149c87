// A small line chart of one figure over the runs of one machine and mode,
// in date order, for the HTML report.
#pragma once

#include <string>
#include <vector>

struct TrendPoint {
    long long runId = 0;
    double percent = 0.0;  // of the reference machine
};

// An inline SVG line through the points, evenly spaced in their order,
// with a caption naming the runs, `group` (what they share, as text) and
// the range of the line; "" for fewer than three points.
std::string trendHtml(const std::string& group, const std::vector<TrendPoint>& points);

extern const char* const kTrendStyle;
