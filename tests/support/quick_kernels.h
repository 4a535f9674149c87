// Stand-ins for the memory and arithmetic kernels, swapped into the stages'
// kernel tables so that a whole run takes moments.
#pragma once

#include <algorithm>
#include <iterator>

#include "stages/kernel_stages.h"

namespace quick {

using Kernel = double (*)();

// Puts the given kernels into the tables for its lifetime.
class SwappedKernels {
public:
    SwappedKernels(const Kernel (&memory)[9], const Kernel (&arithmetic)[4]) {
        std::copy(std::begin(memoryKernels), std::end(memoryKernels), savedMemory);
        std::copy(std::begin(arithmeticKernels), std::end(arithmeticKernels), savedArithmetic);
        for (int i = 0; i < 9; ++i) memoryKernels[i].kernel = memory[i];
        for (int i = 0; i < 4; ++i) arithmeticKernels[i].kernel = arithmetic[i];
    }
    ~SwappedKernels() {
        std::copy(std::begin(savedMemory), std::end(savedMemory), memoryKernels);
        std::copy(std::begin(savedArithmetic), std::end(savedArithmetic), arithmeticKernels);
    }
    SwappedKernels(const SwappedKernels&) = delete;
    SwappedKernels& operator=(const SwappedKernels&) = delete;

private:
    KernelEntry savedMemory[9];
    KernelEntry savedArithmetic[4];
};

// Each returns its own position in the tables, plus one, times 1000:
// memory kernels 1000 to 9000, arithmetic kernels 10000 to 13000.
template <int N>
double standIn() {
    return 1000.0 * (N + 1);
}

inline constexpr Kernel kMemoryStandIns[9] = {standIn<0>, standIn<1>, standIn<2>, standIn<3>, standIn<4>,
                                              standIn<5>, standIn<6>, standIn<7>, standIn<8>};
inline constexpr Kernel kArithmeticStandIns[4] = {standIn<9>, standIn<10>, standIn<11>, standIn<12>};

struct Kernels : SwappedKernels {
    Kernels() : SwappedKernels(kMemoryStandIns, kArithmeticStandIns) {}
};

}  // namespace quick
