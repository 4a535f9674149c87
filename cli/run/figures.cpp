#include "cli/run/figures.h"

#include <cstdio>
#include <cmath>

#include "stages/kernel_stages.h"
#include "stages/result_screen.h"
#include "stages/stage_state.h"

namespace {

const Figure figures[kFigureTotal] = {
    {"FontSpeed1", 1, FigureKind::FrameRate},      {"FontSpeed2", 2, FigureKind::FrameRate},
    {"FastBltSpeed", 3, FigureKind::FrameRate},    {"StretchBltSpeed", 4, FigureKind::FrameRate},
    {"DrawSpriteSpeed", 5, FigureKind::FrameRate}, {"DrawSpriteAlphaSpeed", 6, FigureKind::FrameRate},
    {"read1", 7, FigureKind::Memory},              {"read2", 7, FigureKind::Memory},
    {"read3", 7, FigureKind::Memory},              {"write1", 7, FigureKind::Memory},
    {"write2", 7, FigureKind::Memory},             {"write3", 7, FigureKind::Memory},
    {"copy1", 7, FigureKind::Memory},              {"copy2", 7, FigureKind::Memory},
    {"copy3", 7, FigureKind::Memory},              {"calc_add", 8, FigureKind::Arithmetic},
    {"calc_sub", 8, FigureKind::Arithmetic},       {"calc_mul", 8, FigureKind::Arithmetic},
    {"calc_div", 8, FigureKind::Arithmetic},
};

const std::int32_t* const frameRates[kFrameRateStages] = {&FontSpeed1,      &FontSpeed2,      &FastBltSpeed,
                                                          &StretchBltSpeed, &DrawSpriteSpeed, &DrawSpriteAlphaSpeed};
// The reference machine's frame rates, the divisors of the stages' ratios.
const double frameRateReferences[kFrameRateStages] = {45.0, 17.0, 190.0, 74.0, 167.0, 121.0};

const char* const stageNames[8] = {"Font Speed 1",
                                   "Font Speed 2",
                                   "CG Draw Speed (BitBlt)",
                                   "CG Draw Speed (StretchBlt)",
                                   "Draw Sprite Speed",
                                   "Draw Sprite Speed with Alpha",
                                   "Memory Access Speed",
                                   "Calc"};

const KernelEntry& kernelOf(int index) {
    const int k = index - kFrameRateStages;
    return k < 9 ? memoryKernels[k] : arithmeticKernels[k - 9];
}

// The screen's line for this figure, split around its two numbers:
// "<prefix><figure> <unit> (<percent>％)".
struct LineParts {
    std::string prefix;  // up to and including "= "
    std::string unit;
};

LineParts lineParts(int index) {
    const std::string line = index < kFrameRateStages ? formatFrameRateLine(index)
                                                      : formatFigureLine(index - kFrameRateStages);
    LineParts parts;
    const std::size_t eq = line.find("= ");
    parts.prefix = line.substr(0, eq + 2);
    const std::size_t unitStart = line.find(' ', eq + 2) + 1;
    parts.unit = line.substr(unitStart, line.find(" (", unitStart) - unitStart);
    return parts;
}

}  // namespace

const Figure& figure(int index) { return figures[index]; }

int figureIndex(const std::string& id) {
    for (int i = 0; i < kFigureTotal; ++i)
        if (id == figures[i].id) return i;
    return -1;
}

std::string figureLabel(int index) {
    std::string prefix = lineParts(index).prefix;
    prefix.erase(prefix.find_last_not_of(" =") + 1);
    return prefix;
}

std::string figureUnit(int index) { return lineParts(index).unit; }

double figureValue(int index) {
    if (index < kFrameRateStages) return *frameRates[index];
    return *kernelOf(index).figure;
}

double figureReference(int index) {
    if (index < kFrameRateStages) return frameRateReferences[index];
    return kernelOf(index).reference;
}

std::string screenLine(int index, double value) {
    const LineParts parts = lineParts(index);
    char number[64];
    if (figures[index].kind != FigureKind::FrameRate)
        std::snprintf(number, sizeof number, "%f", value);
    else if (value == std::floor(value))
        std::snprintf(number, sizeof number, "%d", static_cast<int>(value));
    else
        std::snprintf(number, sizeof number, "%.1f", value);
    char percent[64];
    std::snprintf(percent, sizeof percent, "%f", value / figureReference(index) * 100.0);
    return parts.prefix + number + " " + parts.unit + " (" + percent + "%)";
}

const char* stageName(int stage) { return stage >= 1 && stage <= 8 ? stageNames[stage - 1] : ""; }

double memoryBytesPerSecond(double figure) { return figure * 1048576.0 / 4.0; }
