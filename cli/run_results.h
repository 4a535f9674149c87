// What the passes of one pelorin-cli run collected.
#pragma once

#include <cstdint>
#include <vector>

#include "cli/figures.h"

// One test frame of a frame-rate stage, in real nanoseconds.
struct FrameTiming {
    std::int64_t totalNs;    // from the start of this frame to the start of the next
    std::int64_t presentNs;  // of which EndPaint spent presenting
};

struct RunResults {
    int passes = 0;                                  // completed passes
    std::vector<double> samples[kFigureTotal];       // one per pass, for the figures of the selected stages
    std::vector<double> kernelSeconds[kFigureTotal];  // best run by the nanosecond clock, 0 when unknown
    std::vector<FrameTiming> frames[kFrameRateStages];  // test frames of Stages 1-6, all passes together
};
