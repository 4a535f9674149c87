// Checks the kernels' figures against independent loops timed with
// clock_gettime over the same written 256 MiB, and against memcpy as a
// yardstick, all in one run.  Also runs the arithmetic kernels twice to show
// how stable their figures are.
//
// Scale: a run moves 1 GiB (4 passes of 256 MiB); "MB/S" = 4096 / seconds of
// the best run, i.e. four times the MiB per second of the region swept.

// The kernels align their loop heads to 64 bytes; so do the independent
// loops, or a 4-byte-step loop that straddles a fetch block runs at half
// speed and measures the front end instead of memory.
#pragma GCC optimize("align-loops=64")

#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/independent_loops.h"
#include "kernels/arith_kernels.h"
#include "kernels/kernel_timing.h"
#include "kernels/memory_kernels.h"
#include "kernels/work_buffers.h"

namespace {

constexpr int kRuns = 16;
constexpr int kPasses = 4;

double now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

template <class Pass>
double bestSeconds(Pass&& pass)
{
    double best = 1e30;
    for (int run = 0; run < kRuns; ++run) {
        const double start = now();
        for (int p = 0; p < kPasses; ++p) {
            pass();
        }
        best = std::min(best, now() - start);
    }
    return best;
}

double figureOf(double seconds)
{
    return 4096.0 / seconds;
}

double independentRead32()
{
    return bestSeconds([] { independent::read32(mem0); });
}

double independentRead64()
{
    return bestSeconds([] { independent::read64(mem0); });
}

double independentRead128()
{
    return bestSeconds([] { independent::read128(mem0); });
}

double independentWrite32()
{
    return bestSeconds([] { independent::write32(mem0); });
}

double independentWrite32FourATurn()
{
    return bestSeconds([] { independent::write32FourATurn(mem0); });
}

template <class Word>
double independentCopy()
{
    return bestSeconds([] { independent::copy<Word>(mem0, mem1); });
}

double independentCopy128()
{
    return bestSeconds([] { independent::copy128(mem0, mem1); });
}

double memcpySeconds()
{
    return bestSeconds([] {
        std::memcpy(mem0, mem1, kRegionBytes);
        asm volatile("" : : "r"(mem0) : "memory");
    });
}

struct Row {
    const char* name;
    double (*kernel)();
    double (*independent)();  // seconds of its best run
};

}  // namespace

int main()
{
    const double allocStart = now();
    mem0_ = static_cast<std::int32_t*>(std::malloc(kWorkBufferBytes));
    mem1_ = static_cast<std::int32_t*>(std::malloc(kWorkBufferBytes));
    if (mem0_ == nullptr || mem1_ == nullptr) {
        std::fprintf(stderr, "cannot allocate the work buffers\n");
        return 1;
    }
    const double prefaultStart = now();
    prefaultWorkBuffer(mem0_, kWorkBufferBytes);
    prefaultWorkBuffer(mem1_, kWorkBufferBytes);
    const double prefaultEnd = now();
    mem0 = alignWorkBuffer(mem0_);
    mem1 = alignWorkBuffer(mem1_);
    std::printf("malloc 2 x %zu bytes: %.1f ms; prefault (first write of every byte): %.1f ms\n", kWorkBufferBytes,
                (prefaultStart - allocStart) * 1e3, (prefaultEnd - prefaultStart) * 1e3);
    std::fflush(stdout);

    const double copyYardstick = memcpySeconds();
    std::printf("memcpy yardstick: %.1f MB/S (%.2f GB/s of region)\n\n", figureOf(copyYardstick),
                1073741824.0 / copyYardstick / 1e9);
    std::fflush(stdout);

    // Each independent loop runs right before and right after its kernel, so
    // that load from other processes on the machine hits both alike.
    const Row rows[] = {
        {"bench_read  (32-bit)", bench_read, independentRead32},
        {"bench_read2 (MMX)", bench_read2, independentRead64},
        {"bench_read3 (SSE)", bench_read3, independentRead128},
        {"bench_write #1", bench_write, independentWrite32},
        {"bench_write #2", bench_write, independentWrite32},
        {"bench_write #3", bench_write, independentWrite32},
        {"bench_copy  (32-bit)", bench_copy, independentCopy<std::uint32_t>},
        {"bench_copy2 (MMX)", bench_copy2, independentCopy<std::uint64_t>},
        {"bench_copy3 (SSE)", bench_copy3, independentCopy128},
    };
    std::printf("%-22s %12s %9s %14s %9s %10s\n", "kernel", "MB/S", "GB/s", "independent", "ratio", "vs memcpy");
    double writes[3];
    int writeCount = 0;
    for (const Row& row : rows) {
        const double before = row.independent();
        const double figure = row.kernel();
        const double gbps = 1073741824.0 / kernel_best_seconds / 1e9;
        const double after = row.independent();
        const double independent = figureOf(std::min(before, after));
        if (row.kernel == bench_write) {
            writes[writeCount++] = figure;
        }
        std::printf("%-22s %12.1f %9.2f %14.1f %9.3f %10.3f\n", row.name, figure, gbps, independent,
                    figure / independent, figure / figureOf(copyYardstick));
        std::fflush(stdout);
    }
    const double writeHigh = std::max({writes[0], writes[1], writes[2]});
    const double writeLow = std::min({writes[0], writes[1], writes[2]});
    std::printf("write spread: %.2f %%\n", (writeHigh / writeLow - 1.0) * 100.0);
    std::printf("32-bit stores four a turn: %.1f MB/S (memory's store rate when the loop is not the limit)\n\n",
                figureOf(independentWrite32FourATurn()));

    struct Calc {
        const char* name;
        double (*kernel)();
    };
    const Calc calcs[] = {{"bench_calc_add", bench_calc_add},
                          {"bench_calc_sub", bench_calc_sub},
                          {"bench_calc_mul", bench_calc_mul},
                          {"bench_calc_div", bench_calc_div}};
    std::printf("%-16s %14s %10s %14s %10s %9s\n", "kernel", "run 1 times/S", "best ms", "run 2 times/S", "best ms",
                "spread");
    for (const Calc& calc : calcs) {
        const double first = calc.kernel();
        const double firstSeconds = kernel_best_seconds;
        const double second = calc.kernel();
        const double secondSeconds = kernel_best_seconds;
        std::printf("%-16s %14.0f %10.3f %14.0f %10.3f %8.2f%%\n", calc.name, first, firstSeconds * 1e3, second,
                    secondSeconds * 1e3, std::fabs(first / second - 1.0) * 100.0);
        std::fflush(stdout);
    }

    std::free(mem0_);
    std::free(mem1_);
    return 0;
}
