// Keeps the precise duration of each kernel's best run, which the kernels
// leave in kernel_best_seconds only until the next kernel runs.  While an
// object of this class lives, every entry of the stages' kernel tables runs
// through a wrapper that reads it out.
#pragma once

#include <functional>

class KernelTimingCapture {
public:
    KernelTimingCapture();
    ~KernelTimingCapture();
    KernelTimingCapture(const KernelTimingCapture&) = delete;
    KernelTimingCapture& operator=(const KernelTimingCapture&) = delete;

    // Seconds of the best run of the kernel at figure index `index` (6..18)
    // when it last ran, 0 when it has not run or did not say.
    static double bestSeconds(int index);

    // Called before each kernel runs, with its place in its stage's table
    // (from 0) and the table's length: outside the kernel's own timing.
    void onKernelStart(std::function<void(int index, int count)> hook);
};
