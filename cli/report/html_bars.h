// The charts of the HTML report: for one figure (or index), a table with a
// row per run holding its bar against the reference machine's 100 % line,
// its measured value, its percentage and its change against the first run.
// Plain HTML and CSS, so that text and lines each keep a cell of their own
// and never cover one another at any width.
#pragma once

#include <string>
#include <vector>

struct BarRow {
    long long runId = 0;
    std::string name;           // "#12", as text
    std::string title;          // "office desktop", as text
    bool notComparable = false;  // with the first run: drawn hollow, a dagger after its name
    bool measured = false;
    double percent = 0.0;       // of the reference machine
    bool hasInterval = false;   // the interval of the median, in percent
    double lowPercent = 0.0;
    double highPercent = 0.0;
    std::string value;          // the measured value with its unit, as text
    std::string trueBandwidth;  // of an "MB/S" figure, as text
    bool apart = false;         // its interval does not overlap the first run's
    std::string change;         // against the first run, as text; "" for the first run itself
    std::string missing;        // for a row without a bar: what it says instead of the chart's `missing`
};

struct BarChart {
    std::string attributes;     // markup of ours for the table element: ` data-figure="read1"`
    std::string valueHeading;   // "" for a chart without a value column
    bool bandwidthColumn = false;  // a column for the true bandwidth
    std::string firstRunName;   // "#10": what the change is against
    std::string missing;        // what a row without a figure says
    std::vector<BarRow> rows;
};

std::string barChartHtml(const BarChart& chart);

// The CSS the charts need.
extern const char* const kBarChartStyle;
