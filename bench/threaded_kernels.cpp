// Checks the all-thread kernels of pelorin-cli --threads against independent
// all-thread loops: plain pinned threads over their own 256 MiB regions,
// started together and timed with clock_gettime from the start to the end of
// the last thread, best of 16.  Each team kernel runs between two such
// measurements, so that load from elsewhere hits both alike.  Also shows
// the speed-up of the team's ADD over the one-thread kernel.
//
// Usage: bench_threaded_kernels [THREADS]   (default: every usable processor)

#pragma GCC optimize("align-loops=64")

#include <pthread.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <latch>
#include <thread>
#include <vector>

#include "bench/independent_loops.h"
#include "kernels/arith_bodies.h"
#include "kernels/arith_kernels.h"
#include "kernels/cpu_placement.h"
#include "kernels/kernel_timing.h"
#include "kernels/run_sizes.h"
#include "kernels/threaded_kernels.h"

namespace {

constexpr int kRuns = 16;

double now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

void pin(int cpu)
{
    cpu_set_t mask;
    CPU_ZERO(&mask);
    CPU_SET(cpu, &mask);
    pthread_setaffinity_np(pthread_self(), sizeof mask, &mask);
}

// Runs work(i) on fresh threads pinned to cpus[i]; returns the seconds from
// releasing them all at once to the end of the last one.
double timedTogether(const std::vector<int>& cpus, const std::function<void(int)>& work)
{
    const int n = static_cast<int>(cpus.size());
    std::latch ready(n);
    std::latch go(1);
    std::vector<double> ends(cpus.size());
    std::vector<std::thread> threads;
    for (int i = 0; i < n; ++i) {
        threads.emplace_back([&, i] {
            pin(cpus[static_cast<std::size_t>(i)]);
            ready.count_down();
            go.wait();
            work(i);
            ends[static_cast<std::size_t>(i)] = now();
        });
    }
    ready.wait();
    const double start = now();
    go.count_down();
    for (std::thread& t : threads) {
        t.join();
    }
    return *std::max_element(ends.begin(), ends.end()) - start;
}

double bestTogether(const std::vector<int>& cpus, const std::function<void(int)>& work)
{
    double best = 1e30;
    for (int run = 0; run < kRuns; ++run) {
        best = std::min(best, timedTogether(cpus, work));
    }
    return best;
}

struct Region {
    std::int32_t* to;
    std::int32_t* from;
};

using Pass = void (*)(const Region&);

template <void (*Read)(const std::int32_t*)>
void readPass(const Region& r)
{
    Read(r.to);
}
void writePass(const Region& r) { independent::write32(r.to); }
template <class Word>
void copyPass(const Region& r)
{
    independent::copy<Word>(r.to, r.from);
}
void copy128Pass(const Region& r) { independent::copy128(r.to, r.from); }

struct MemoryRow {
    const char* name;
    Pass pass;
};

const MemoryRow kMemoryRows[kMemoryKernelCount] = {
    {"read1 (32-bit)", readPass<independent::read32>}, {"read2 (MMX)", readPass<independent::read64>},
    {"read3 (SSE)", readPass<independent::read128>},   {"write1", writePass},
    {"write2", writePass},                             {"write3", writePass},
    {"copy1 (32-bit)", copyPass<std::uint32_t>},       {"copy2 (MMX)", copyPass<std::uint64_t>},
    {"copy3 (SSE)", copy128Pass},
};

const char* const kCalcNames[kCalcKernelCount] = {"calc_add", "calc_sub", "calc_mul", "calc_div"};
void (*const kCalcLoops[kCalcKernelCount])(std::uint32_t) = {addLoop, subLoop, mulLoop, divLoop};

}  // namespace

int main(int argc, char** argv)
{
    const int usable = static_cast<int>(usableCpus().size());
    const int threads = argc > 1 ? std::atoi(argv[1]) : usable;
    const std::vector<int> cpus = teamProcessors(threads);
    if (cpus.empty()) {
        std::fprintf(stderr, "cannot run %d threads: this process may use %d processors\n", threads, usable);
        return 2;
    }
    std::printf("%d threads on processors", threads);
    for (const int cpu : cpus) {
        std::printf(" %d", cpu);
    }
    std::printf("\n\n");

    // The independent loops' own regions, each first written by a thread on
    // the processor that will sweep it.
    std::vector<Region> regions(cpus.size());
    timedTogether(cpus, [&](int i) {
        Region& r = regions[static_cast<std::size_t>(i)];
        r.to = static_cast<std::int32_t*>(std::aligned_alloc(128, kRegionBytes));
        r.from = static_cast<std::int32_t*>(std::aligned_alloc(128, kRegionBytes));
        if (r.to != nullptr && r.from != nullptr) {
            std::memset(r.to, 0x2D, kRegionBytes);
            std::memset(r.from, 0x2D, kRegionBytes);
        }
    });
    for (const Region& r : regions) {
        if (r.to == nullptr || r.from == nullptr) {
            std::fprintf(stderr, "cannot allocate the regions\n");
            return 1;
        }
    }

    MemoryTeam team(cpus);
    if (!team.problem().empty()) {
        std::fprintf(stderr, "%s\n", team.problem().c_str());
        return 1;
    }
    std::printf("%-16s %12s %9s %8s %14s %8s\n", "kernel", "MB/S", "GB/s", "spread", "independent", "ratio");
    for (int k = 0; k < kMemoryKernelCount; ++k) {
        const MemoryRow& row = kMemoryRows[k];
        auto independentRun = [&](int i) {
            for (int p = 0; p < kMemoryPassesPerRun; ++p) {
                row.pass(regions[static_cast<std::size_t>(i)]);
            }
        };
        const double before = bestTogether(cpus, independentRun);
        const TeamResult result = team.measure(k);
        const double after = bestTogether(cpus, independentRun);
        const double independent = 4096.0 * threads / std::min(before, after);
        std::printf("%-16s %12.1f %9.2f %7.1f%% %14.1f %8.3f\n", row.name, result.figure,
                    1073741824.0 * threads / result.bestSeconds / 1e9, threadSpreadPercent(result.perThread),
                    independent, result.figure / independent);
        std::fflush(stdout);
    }
    for (const Region& r : regions) {
        std::free(r.to);
        std::free(r.from);
    }

    std::printf("\n%-16s %14s %14s %14s %8s\n", "kernel", "times/S", "ns-clock ops/s", "independent", "ratio");
    ThreadTeam calc(cpus);
    for (int k = 0; k < kCalcKernelCount; ++k) {
        auto independentRun = [&](int) { kCalcLoops[k](kIterationsPerRun); };
        const double before = bestTogether(cpus, independentRun);
        const TeamResult result = measureCalcKernel(calc, k);
        const double after = bestTogether(cpus, independentRun);
        const double precise = threads * static_cast<double>(kIterationsPerRun) / result.bestSeconds;
        const double independent = threads * static_cast<double>(kIterationsPerRun) / std::min(before, after);
        std::printf("%-16s %14.0f %14.0f %14.0f %8.3f\n", kCalcNames[k], result.figure, precise, independent,
                    precise / independent);
        std::fflush(stdout);
    }

    const double one = bench_calc_add();
    const double all = measureCalcKernel(calc, 0).figure;
    std::printf("\nADD speed-up, %d threads over the one-thread kernel: %.3f (%.0f / %.0f times/S)\n", threads,
                all / one, all, one);
    return 0;
}
