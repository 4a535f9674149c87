#include "cli/report/bandwidth.h"

#include "cli/report/text_join.h"
#include "cli/run/figures.h"

double trueGigabytesPerSecond(double figure) { return memoryBytesPerSecond(figure) / 1e9; }

std::string trueBandwidthText(double figure) {
    return concat({formatNumber("%.3f", trueGigabytesPerSecond(figure)), " GB/s"});
}

std::string withTrueBandwidth(const std::string& text, const std::string& unit, double figure) {
    return onBandwidthScale(unit) ? concat({text, " (", trueBandwidthText(figure), ")"}) : text;
}
