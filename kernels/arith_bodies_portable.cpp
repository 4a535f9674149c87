// Stand-ins for the x86 arithmetic loops on other processors.  The operands
// are volatile so the compiler cannot fold a loop into one result.
#if !defined(__x86_64__)

#include "kernels/arith_bodies.h"
#include "kernels/portable_notice.h"

void addLoop(std::uint32_t iterations)
{
    notePortableKernels();
    volatile std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < iterations; ++i) {
        value = value + 1u;
    }
}

void subLoop(std::uint32_t iterations)
{
    notePortableKernels();
    volatile std::uint32_t value = 0;
    for (std::uint32_t i = 0; i < iterations; ++i) {
        value = value - 1u;
    }
}

void mulLoop(std::uint32_t iterations)
{
    notePortableKernels();
    volatile std::uint32_t value = 1;
    [[maybe_unused]] volatile std::uint32_t high = 0;
    for (std::uint32_t i = 0; i < iterations; ++i) {
        const std::uint64_t product = static_cast<std::uint64_t>(value) * value;
        value = static_cast<std::uint32_t>(product);
        high = static_cast<std::uint32_t>(product >> 32);
    }
}

void divLoop(std::uint32_t iterations)
{
    notePortableKernels();
    volatile std::uint32_t divisor = 1;
    [[maybe_unused]] volatile std::uint32_t quotient = 0;
    volatile std::uint32_t remainder = 0;
    for (std::uint32_t i = 0; i < iterations; ++i) {
        const std::uint64_t dividend = static_cast<std::uint64_t>(remainder) << 32 | 1u;
        quotient = static_cast<std::uint32_t>(dividend / divisor);
        remainder = static_cast<std::uint32_t>(dividend % divisor);
    }
}

#endif
