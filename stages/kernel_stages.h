// Stages 7 and 8: a heading, a "Wait a minute" frame, then every timed
// kernel of the stage inside one call.
#pragma once

struct KernelEntry {
    double (*kernel)();  // times itself and returns its figure
    double* figure;
    double reference;    // the reference machine's figure
    double* ratio;
};

// The kernels in the order they run; tests may swap in quick stand-ins.
extern KernelEntry memoryKernels[9];
extern KernelEntry arithmeticKernels[4];
