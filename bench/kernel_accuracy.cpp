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

// 128 bits in one register: GCC's generic vectors, so that the same loops
// build for x86-64 (an XMM register, constraint "x") and arm64 (a Q
// register, constraint "w").
using Lanes128 = std::uint32_t __attribute__((vector_size(16)));
#if defined(__x86_64__)
#define VECTOR_REGISTER "x"
#elif defined(__aarch64__)
#define VECTOR_REGISTER "w"
#else
#error "name the asm constraint of a 128-bit vector register for this processor"
#endif

// Independent loops.  Volatile keeps each 32- and 64-bit access at its width
// (GCC would otherwise widen a store loop to 128 bits, make a zero-store loop
// a memset, and keep one load of a read loop); the empty asm statements keep
// the 128-bit ones, and stop a load-store pair from becoming memcpy.

double independentRead32()
{
    return bestSeconds([] {
        const volatile std::uint32_t* p = reinterpret_cast<const volatile std::uint32_t*>(mem0);
        for (std::size_t i = 0; i < kRegionBytes / 4; i += 16) {
            for (int k = 0; k < 16; ++k) {
                static_cast<void>(p[i + k]);
            }
        }
    });
}

double independentRead64()
{
    return bestSeconds([] {
        const volatile std::uint64_t* p = reinterpret_cast<const volatile std::uint64_t*>(mem0);
        for (std::size_t i = 0; i < kRegionBytes / 8; i += 8) {
            for (int k = 0; k < 8; ++k) {
                static_cast<void>(p[i + k]);
            }
        }
    });
}

double independentRead128()
{
    return bestSeconds([] {
        const Lanes128* p = reinterpret_cast<const Lanes128*>(mem0);
        for (std::size_t i = 0; i < kRegionBytes / 16; i += 4) {
            Lanes128 a = p[i];
            Lanes128 b = p[i + 1];
            Lanes128 c = p[i + 2];
            Lanes128 d = p[i + 3];
            asm volatile("" : : VECTOR_REGISTER(a), VECTOR_REGISTER(b), VECTOR_REGISTER(c), VECTOR_REGISTER(d));
        }
    });
}

// One 32-bit store a turn, like the kernel.  Such a loop is bound by the core
// (about one turn a cycle at best), not by memory, so its figure depends on
// the loop's shape: the value is kept in a register because the
// immediate-operand store GCC would make runs about a third slower here.
double independentWrite32()
{
    return bestSeconds([] {
        volatile std::uint32_t* p = reinterpret_cast<volatile std::uint32_t*>(mem0);
        std::uint32_t value = 0x2D2D2D2Du;
        asm("" : "+r"(value));
        for (std::size_t i = 0; i < kRegionBytes / 4; ++i) {
            p[i] = value;
        }
    });
}

// Four 32-bit stores a turn: what memory takes when the loop is not the limit.
double independentWrite32FourATurn()
{
    return bestSeconds([] {
        volatile std::uint32_t* p = reinterpret_cast<volatile std::uint32_t*>(mem0);
        for (std::size_t i = 0; i < kRegionBytes / 4; i += 4) {
            p[i] = 0x2D2D2D2Du;
            p[i + 1] = 0x2D2D2D2Du;
            p[i + 2] = 0x2D2D2D2Du;
            p[i + 3] = 0x2D2D2D2Du;
        }
    });
}

template <class Word>
double independentCopy()
{
    return bestSeconds([] {
        volatile Word* to = reinterpret_cast<volatile Word*>(mem0);
        const volatile Word* from = reinterpret_cast<const volatile Word*>(mem1);
        for (std::size_t i = 0; i < kRegionBytes / sizeof(Word); ++i) {
            to[i] = from[i];
        }
    });
}

double independentCopy128()
{
    return bestSeconds([] {
        Lanes128* to = reinterpret_cast<Lanes128*>(mem0);
        const Lanes128* from = reinterpret_cast<const Lanes128*>(mem1);
        for (std::size_t i = 0; i < kRegionBytes / 16; ++i) {
            Lanes128 v = from[i];
            asm volatile("" : "+" VECTOR_REGISTER(v));
            to[i] = v;
        }
    });
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
