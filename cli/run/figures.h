// The nineteen figures of a run as the result screen shows them, read from
// the stages' result variables.
#pragma once

#include <string>

constexpr int kFigureTotal = 19;
constexpr int kFrameRateStages = 6;  // Stages 1-6 count frames

enum class FigureKind { FrameRate, Memory, Arithmetic };

struct Figure {
    const char* id;  // the result variable's name: "FontSpeed1", "read1", ...
    int stage;       // 1..8
    FigureKind kind;
};

const Figure& figure(int index);

// The index of the figure with this id; -1 for none.
int figureIndex(const std::string& id);

// Whether a larger figure of this kind is the better one.  Every kind so
// far counts per second; a new kind must say (the switch has no default).
constexpr bool higherIsBetter(FigureKind kind) {
    switch (kind) {
        case FigureKind::FrameRate:
        case FigureKind::Memory:
        case FigureKind::Arithmetic:
            return true;
    }
    return true;
}

// The screen's label ("Read Memory") and unit ("MB/S"), taken from the
// screen's own line.
std::string figureLabel(int index);
std::string figureUnit(int index);

// The figure and the reference machine's figure, as they are now.
double figureValue(int index);
double figureReference(int index);

// The screen's line for `value`, with the ratio to the reference machine as
// its percentage: "Read Memory  = 52798.950208 MB/S (100.000000%)".  Frame
// rates that are not whole numbers (a median of an even count) get one
// decimal.  The percent sign is plain ASCII.
std::string screenLine(int index, double value);

// The name a stage shows under its heading: "Font Speed 1", ... "Calc".
const char* stageName(int stage);

// Bytes per second behind a memory figure: the "MB/S" scale is 4096 divided
// by the seconds of 1 GiB moved, four times the true bandwidth in MiB/s.
double memoryBytesPerSecond(double figure);
