#include "cli/report/html_trend.h"

#include <algorithm>

#include "cli/report/safe_text.h"
#include "cli/report/text_join.h"

namespace {

constexpr double kWidth = 240;
constexpr double kHeight = 52;
constexpr double kMargin = 6;

std::string trendNumber(double value) { return formatNumber("%.2f", value); }

}  // namespace

std::string trendHtml(const std::string& group, const std::vector<TrendPoint>& points) {
    if (points.size() < 3) return "";
    const auto [lowest, highest] = std::minmax_element(
        points.begin(), points.end(), [](const TrendPoint& a, const TrendPoint& b) { return a.percent < b.percent; });
    double low = lowest->percent, high = highest->percent;
    if (high - low < 1e-9) {  // a flat line sits in the middle
        low -= 1.0;
        high += 1.0;
    }
    const double stepX = (kWidth - 2 * kMargin) / static_cast<double>(points.size() - 1);
    std::string line, dots, ids, runs;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::string x = trendNumber(kMargin + stepX * static_cast<double>(i));
        const std::string y = trendNumber(kMargin + (high - points[i].percent) / (high - low) * (kHeight - 2 * kMargin));
        const std::string run = std::to_string(points[i].runId);
        line += concat({line.empty() ? "" : " ", x, ",", y});
        dots += concat({"<circle class=\"trend-point\" cx=\"", x, "\" cy=\"", y, "\" r=\"3\"><title>#", run, ": ",
                        formatNumber("%.1f%%", points[i].percent), "</title></circle>\n"});
        ids += concat({ids.empty() ? "" : " ", run});
        runs += concat({runs.empty() ? "#" : ", #", run});
    }
    const std::string width = trendNumber(kWidth), height = trendNumber(kHeight);
    return concat({"<div class=\"trend\" data-runs=\"", ids, "\">\n<svg width=\"", width, "\" height=\"", height,
                   "\" viewBox=\"0 0 ", width, " ", height, "\" xmlns=\"http://www.w3.org/2000/svg\" role=\"img\">\n"
                   "<rect class=\"trend-frame\" x=\"0.5\" y=\"0.5\" width=\"", trendNumber(kWidth - 1), "\" height=\"",
                   trendNumber(kHeight - 1), "\"/>\n<polyline class=\"trend-line\" points=\"", line, "\"/>\n", dots,
                   "</svg>\n<p>Trend of ", runs, " (", htmlText(group), "): ", formatNumber("%.1f%%", lowest->percent), " to ", formatNumber("%.1f%%", highest->percent),
                   "</p>\n</div>\n"});
}

const char* const kTrendStyle = R"css(
.trends { display: flex; flex-wrap: wrap; gap: 0.4rem 1.2rem; margin-top: 0.4rem; }
.trend { display: flex; align-items: center; gap: 0.6rem; }
.trend p { margin: 0; color: var(--muted); font-size: 0.8rem; max-width: 15rem; }
.trend svg { display: block; flex: none; }
.trend .trend-line { fill: none; stroke: var(--trend); stroke-width: 2; }
.trend .trend-point { fill: var(--trend); }
.trend .trend-frame { fill: none; stroke: var(--rule); }
)css";
