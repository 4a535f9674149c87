#include "kernels/kernel_timing.h"

#include <cmath>

#include "platform/win32.h"

double kernel_best_seconds = 0.0;

double memoryFigure(std::int64_t ticks, std::int64_t frequency)
{
    double figure = 4294967296.0 / static_cast<double>(ticks);
    figure = figure * static_cast<double>(frequency);
    figure = figure * 0.0009765625;
    figure = figure * 0.0009765625;
    return figure;
}

std::int64_t counterTicks(std::int64_t start, std::int64_t end)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(end) - static_cast<std::uint64_t>(start));
}

std::int32_t elapsedMilliseconds(std::int32_t start, std::int32_t end)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(end) - static_cast<std::uint32_t>(start));
}

double arithmeticFigure(std::int32_t elapsedMs)
{
    const double perSecond = 100000000.0 / static_cast<double>(elapsedMs) * 1000.0;
    // Only a stopped clock (0 ms) gets here with a value no 64-bit integer
    // holds; pass it on as it is rather than convert it.
    if (!(std::fabs(perSecond) < 9.0e18)) {
        return perSecond;
    }
    return static_cast<double>(static_cast<std::int64_t>(perSecond));
}

std::int64_t PlatformClock::frequency()
{
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value.QuadPart;
}

std::int64_t PlatformClock::counter()
{
    LARGE_INTEGER value;
    QueryPerformanceCounter(&value);
    return value.QuadPart;
}

std::int32_t PlatformClock::milliseconds()
{
    return static_cast<std::int32_t>(timeGetTime());
}
