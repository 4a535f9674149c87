#include "kernels/team_timing.h"

#include <cmath>

double teamMemoryFigure(std::int64_t ticks, std::int64_t frequency, int threads)
{
    return memoryFigure(ticks, frequency) * static_cast<double>(threads);
}

double teamArithmeticFigure(std::int32_t elapsedMs, int threads)
{
    const double perSecond = static_cast<double>(threads) * 100000000.0 / static_cast<double>(elapsedMs) * 1000.0;
    // As in the one-thread figure: only a stopped clock gives a value that no
    // 64-bit integer holds.
    if (!(std::fabs(perSecond) < 9.0e18)) {
        return perSecond;
    }
    return static_cast<double>(static_cast<std::int64_t>(perSecond));
}

double threadSpreadPercent(const std::vector<double>& perThread)
{
    if (perThread.empty()) {
        return 0.0;
    }
    const auto [slowest, fastest] = std::minmax_element(perThread.begin(), perThread.end());
    return *fastest > 0.0 ? (*fastest - *slowest) / *fastest * 100.0 : 0.0;
}
