#include "cli/report/html_bars.h"

#include <algorithm>

#include "cli/report/safe_text.h"
#include "cli/report/text_join.h"

namespace {

// The largest percentage a chart shows: its bars, whiskers and 100 %,
// with room to spare.
double scaleOf(const std::vector<BarRow>& rows) {
    double top = 100.0;
    for (const BarRow& row : rows) {
        if (!row.measured) continue;
        top = std::max(top, row.percent);
        if (row.hasInterval) top = std::max(top, row.highPercent);
    }
    return top * 1.1;
}

// A position along the plot, in percent of its width.
std::string at(double percent, double scale) { return formatNumber("%.2f%%", percent / scale * 100.0); }

const char* const kRowDagger = " \xE2\x80\xA0";
const char* const kRowNotEqual = " \xE2\x89\xA0";

std::string rowHtml(const BarRow& row, const BarChart& chart, double scale) {
    const std::string run = std::to_string(row.runId);
    const std::string name = htmlText(row.name), title = htmlText(row.title);
    std::string html = concat({"<tr data-run=\"", run, "\"", row.notComparable ? " class=\"not-comparable\"" : "",
                               "><td class=\"run\" title=\"", name, " ", title, "\">", name,
                               row.notComparable ? kRowDagger : "", " ", title,
                               "</td><td class=\"track\"><div class=\"plot\"><span class=\"ref\" style=\"left:",
                               at(100.0, scale), "\"></span>"});
    if (row.measured) {
        html += concat({"<span class=\"bar\" data-run=\"", run, "\" style=\"width:", at(row.percent, scale), "\"></span>"});
        if (row.hasInterval)
            html += concat({"<span class=\"whisker\" data-run=\"", run, "\" style=\"left:", at(row.lowPercent, scale),
                            ";width:", at(row.highPercent - row.lowPercent, scale), "\"></span>"});
    }
    html += "</div></td>";
    if (!row.measured) {
        const int span = 2 + (chart.valueHeading.empty() ? 0 : 1) + (chart.bandwidthColumn ? 1 : 0);
        return html + concat({"<td class=\"missing\" colspan=\"", std::to_string(span), "\">",
                              htmlText(row.missing.empty() ? chart.missing : row.missing), "</td></tr>\n"});
    }
    if (!chart.valueHeading.empty()) html += concat({"<td class=\"value\">", htmlText(row.value), "</td>"});
    if (chart.bandwidthColumn) html += concat({"<td class=\"value true\">", htmlText(row.trueBandwidth), "</td>"});
    html += concat({"<td class=\"percent", row.apart ? " apart" : "", "\">", formatNumber("%.1f%%", row.percent),
                    row.apart ? kRowNotEqual : "", "</td><td class=\"change\">",
                    row.change.empty() ? "&#8212;" : htmlText(row.change), row.notComparable && !row.change.empty() ? kRowDagger : "",
                    "</td></tr>\n"});
    return html;
}

}  // namespace

std::string barChartHtml(const BarChart& chart) {
    const double scale = scaleOf(chart.rows);
    const bool values = !chart.valueHeading.empty();
    std::string html = concat({"<table class=\"chart", chart.bandwidthColumn ? " bandwidth" : "", "\"", chart.attributes, ">\n<colgroup><col class=\"run\"/><col/>",
                               values ? "<col class=\"value\"/>" : "", chart.bandwidthColumn ? "<col class=\"true\"/>" : "",
                               "<col class=\"percent\"/><col class=\"change\"/></colgroup>\n<thead><tr><th>Run</th>"
                               "<th class=\"track\"><div class=\"plot\"><span class=\"ref-label\" style=\"left:",
                               at(100.0, scale), "\">100%</span></div></th>"});
    if (values) html += concat({"<th class=\"value\">", htmlText(chart.valueHeading), "</th>"});
    if (chart.bandwidthColumn) html += "<th class=\"value\">True bandwidth</th>";
    html += concat({"<th class=\"percent\">Of reference</th><th class=\"change\">Against ", htmlText(chart.firstRunName),
                    "</th></tr></thead>\n<tbody>\n"});
    for (const BarRow& row : chart.rows) html += rowHtml(row, chart, scale);
    return html + "</tbody>\n</table>\n";
}

const char* const kBarChartStyle = R"css(
table.chart { width: 100%; table-layout: fixed; margin: 0.2rem 0 0; }
table.chart th, table.chart td { border: none; padding: 0.12rem 0.4rem; vertical-align: middle; }
table.chart thead th { background: none; color: var(--muted); font-size: 0.78rem; font-weight: normal; }
table.chart col.run { width: 21%; }
table.chart col.value { width: 22%; }
table.chart.bandwidth col.value { width: 17%; }
table.chart col.true { width: 14%; }
table.chart col.percent { width: 12%; }
table.chart col.change { width: 11%; }
table.chart td.run { white-space: nowrap; overflow: hidden; text-overflow: ellipsis; }
table.chart .value, table.chart .percent, table.chart .change, table.chart .missing {
  text-align: right; font-variant-numeric: tabular-nums; }
table.chart td.value, table.chart .percent, table.chart .change { white-space: nowrap; }
table.chart thead th { vertical-align: bottom; }
table.chart td.missing { color: var(--muted); font-style: italic; }
table.chart .track { position: relative; padding: 0; }
table.chart thead .track { height: 1.1rem; }
.plot { position: absolute; top: 0; bottom: 0; left: 0.4rem; right: 0.8rem; }
.plot .ref { position: absolute; top: 0; bottom: 0; border-left: 1.5px dashed var(--reference); }
.plot .ref-label { position: absolute; bottom: 0.05rem; transform: translateX(-50%); color: var(--reference);
                   font-size: 0.72rem; white-space: nowrap; }
.plot .bar { position: absolute; left: 0; top: 50%; height: 0.8rem; margin-top: -0.4rem; background: var(--bar);
             box-sizing: border-box; }
tr.not-comparable .plot .bar { background: var(--panel); border: 1.5px solid var(--apart); }
.plot .whisker { position: absolute; top: 50%; height: 0.5rem; margin-top: -0.25rem; box-sizing: border-box;
                 border-left: 1.5px solid var(--whisker); border-right: 1.5px solid var(--whisker);
                 background: linear-gradient(var(--whisker), var(--whisker)) center / 100% 1.5px no-repeat; }
tr.not-comparable td.run, tr.not-comparable td.change { color: var(--apart); }
table.chart td.apart { color: var(--apart); font-weight: 600; }
)css";
