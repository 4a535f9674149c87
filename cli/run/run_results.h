// What the passes of one pelorin-cli run collected.
#pragma once

#include <cstdint>
#include <vector>

#include "cli/run/figures.h"

// One test frame of a frame-rate stage, in real nanoseconds.
struct FrameTiming {
    std::int64_t totalNs;    // from the start of this frame to the start of the next
    std::int64_t presentNs;  // of which EndPaint spent presenting
};

// Stages 7 and 8 measured with one thread count above 1.  Figures of stages
// that did not run stay empty.
struct ThreadedResults {
    int threads = 0;
    std::vector<int> cpus;                                 // the processor of each thread
    std::vector<double> samples[kFigureTotal];            // one per pass, all threads together
    std::vector<double> kernelSeconds[kFigureTotal];      // the best run's duration, one per pass
    std::vector<std::vector<double>> perThread[kFigureTotal];  // one per pass: each thread's own figure
};

struct RunResults {
    int passes = 0;                                  // completed passes
    std::vector<double> samples[kFigureTotal];       // one per pass, for the figures of the selected stages
    std::vector<double> kernelSeconds[kFigureTotal];  // best run by the nanosecond clock, 0 when unknown
    std::vector<FrameTiming> frames[kFrameRateStages];  // test frames of Stages 1-6, all passes together
    std::vector<ThreadedResults> threaded;              // ascending thread counts, none for one thread
};
