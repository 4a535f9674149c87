// Stand-ins for the memory and arithmetic kernels, so that a whole run takes
// moments: each returns its own position in the tables, plus one.
#pragma once

#include <algorithm>
#include <iterator>

#include "stages/kernel_stages.h"

namespace quick {

template <int N>
double standIn() {
    return 1000.0 * (N + 1);
}

using Kernel = double (*)();
inline constexpr Kernel kStandIns[] = {standIn<0>, standIn<1>, standIn<2>,  standIn<3>,  standIn<4>,
                                       standIn<5>, standIn<6>, standIn<7>,  standIn<8>,  standIn<9>,
                                       standIn<10>, standIn<11>, standIn<12>};

// Swaps the stand-ins in for its lifetime.
struct Kernels {
    KernelEntry memory[9];
    KernelEntry arithmetic[4];
    Kernels() {
        std::copy(std::begin(memoryKernels), std::end(memoryKernels), memory);
        std::copy(std::begin(arithmeticKernels), std::end(arithmeticKernels), arithmetic);
        for (int i = 0; i < 9; ++i) memoryKernels[i].kernel = kStandIns[i];
        for (int i = 0; i < 4; ++i) arithmeticKernels[i].kernel = kStandIns[9 + i];
    }
    ~Kernels() {
        std::copy(memory, memory + 9, memoryKernels);
        std::copy(arithmetic, arithmetic + 4, arithmeticKernels);
    }
    Kernels(const Kernels&) = delete;
    Kernels& operator=(const Kernels&) = delete;
};

}  // namespace quick
