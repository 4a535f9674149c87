#include "cli/run/kernel_timing_capture.h"

#include "cli/run/figures.h"
#include "kernels/kernel_timing.h"
#include "stages/kernel_stages.h"

namespace {

constexpr int kMemoryKernels = 9;  // Stage 7's table, then Stage 8's
constexpr int kKernels = 13;
using Kernel = double (*)();
Kernel originals[kKernels];
double seconds[kKernels];
std::function<void(int, int)> startHook;

template <int I>
double timed() {
    if (startHook) {
        const bool memory = I < kMemoryKernels;
        startHook(memory ? I : I - kMemoryKernels, memory ? kMemoryKernels : kKernels - kMemoryKernels);
    }
    kernel_best_seconds = 0.0;
    const double figure = originals[I]();
    seconds[I] = kernel_best_seconds;
    return figure;
}

constexpr Kernel wrappers[kKernels] = {timed<0>, timed<1>, timed<2>, timed<3>,  timed<4>,  timed<5>, timed<6>,
                                       timed<7>, timed<8>, timed<9>, timed<10>, timed<11>, timed<12>};

KernelEntry& entry(int k) { return k < kMemoryKernels ? memoryKernels[k] : arithmeticKernels[k - kMemoryKernels]; }

}  // namespace

KernelTimingCapture::KernelTimingCapture() {
    for (int k = 0; k < kKernels; ++k) {
        originals[k] = entry(k).kernel;
        seconds[k] = 0.0;
        entry(k).kernel = wrappers[k];
    }
}

KernelTimingCapture::~KernelTimingCapture() {
    startHook = nullptr;
    for (int k = 0; k < kKernels; ++k) entry(k).kernel = originals[k];
}

double KernelTimingCapture::bestSeconds(int index) {
    const int k = index - kFrameRateStages;
    return k >= 0 && k < kKernels ? seconds[k] : 0.0;
}

void KernelTimingCapture::onKernelStart(std::function<void(int, int)> hook) { startHook = std::move(hook); }
