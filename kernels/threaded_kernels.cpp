#include "kernels/threaded_kernels.h"

#include <cstdlib>

#include "kernels/arith_bodies.h"
#include "kernels/cpu_placement.h"
#include "kernels/memory_bodies.h"
#include "kernels/run_sizes.h"
#include "kernels/work_buffers.h"

// One thread's pair of work buffers, laid out like mem0_/mem0 and mem1_/mem1.
struct MemoryTeam::Buffers {
    std::int32_t* raw0 = nullptr;
    std::int32_t* raw1 = nullptr;
    std::int32_t* mem0 = nullptr;
    std::int32_t* mem1 = nullptr;

    Buffers() = default;
    Buffers(const Buffers&) = delete;
    Buffers& operator=(const Buffers&) = delete;
    ~Buffers()
    {
        std::free(raw0);
        std::free(raw1);
    }

    bool allocate()
    {
        raw0 = static_cast<std::int32_t*>(std::malloc(kWorkBufferBytes));
        raw1 = static_cast<std::int32_t*>(std::malloc(kWorkBufferBytes));
        if (raw0 == nullptr || raw1 == nullptr) {
            return false;
        }
        prefaultWorkBuffer(raw0, kWorkBufferBytes);
        prefaultWorkBuffer(raw1, kWorkBufferBytes);
        mem0 = alignWorkBuffer(raw0);
        mem1 = alignWorkBuffer(raw1);
        return true;
    }
};

namespace {

using MemoryRun = void (*)(std::int32_t* const* mem0, std::int32_t* const* mem1);

template <void (*Read)(std::int32_t* const*, std::size_t, int)>
void readRun(std::int32_t* const* mem0, std::int32_t* const*)
{
    Read(mem0, kRegionBytes, kMemoryPassesPerRun);
}

void writeRun(std::int32_t* const* mem0, std::int32_t* const*)
{
    writeBody(mem0, kRegionBytes, kMemoryPassesPerRun, kWrittenValue);
}

template <void (*Copy)(std::int32_t* const*, std::int32_t* const*, std::size_t, int)>
void copyRun(std::int32_t* const* mem0, std::int32_t* const* mem1)
{
    Copy(mem0, mem1, kRegionBytes, kMemoryPassesPerRun);
}

// The stage's table, in its order; the write kernel runs three times.
constexpr MemoryRun kMemoryRuns[kMemoryKernelCount] = {
    readRun<readBody>, readRun<readBodyMmx>, readRun<readBodySse>,  writeRun,           writeRun,
    writeRun,          copyRun<copyBody>,   copyRun<copyBodyMmx>, copyRun<copyBodySse>};

constexpr void (*kArithmeticLoops[kCalcKernelCount])(std::uint32_t) = {addLoop, subLoop, mulLoop, divLoop};

}  // namespace

std::vector<int> teamProcessors(int threads)
{
    std::vector<int> order = spreadOrder(usableCpus());
    if (threads < 1 || static_cast<std::size_t>(threads) > order.size()) {
        return {};
    }
    order.resize(static_cast<std::size_t>(threads));
    return order;
}

MemoryTeam::MemoryTeam(const std::vector<int>& cpus)
    : buffers_(cpus.size()), team_(cpus, [this](int i) { return buffers_[static_cast<std::size_t>(i)].allocate(); })
{
}

MemoryTeam::~MemoryTeam() = default;

TeamResult MemoryTeam::measure(int k)
{
    const MemoryRun run = kMemoryRuns[k];
    PlatformClock clock;
    return bestOfTeamCounterRuns(
        team_,
        [&](int i) {
            const Buffers& b = buffers_[static_cast<std::size_t>(i)];
            run(&b.mem0, &b.mem1);
        },
        clock);
}

TeamResult measureCalcKernel(ThreadTeam& team, int k)
{
    const auto loop = kArithmeticLoops[k];
    PlatformClock clock;
    return bestOfTeamMillisecondRuns(team, [&](int) { loop(kIterationsPerRun); }, clock);
}

std::function<void(int, int)> threadedKernelStarting;

ThreadedStage measureStageThreaded(int stage, int threads)
{
    ThreadedStage result;
    result.cpus = teamProcessors(threads);
    if (result.cpus.empty()) {
        result.problem = "this process may not use " + std::to_string(threads) + " processors";
        return result;
    }
    if (stage == 7) {
        MemoryTeam team(result.cpus);
        result.problem = team.problem();
        for (int k = 0; k < kMemoryKernelCount && result.problem.empty(); ++k) {
            if (threadedKernelStarting) threadedKernelStarting(k, kMemoryKernelCount);
            result.figures.push_back(team.measure(k));
        }
    } else {
        ThreadTeam team(result.cpus);
        result.problem = team.problem();
        for (int k = 0; k < kCalcKernelCount && result.problem.empty(); ++k) {
            if (threadedKernelStarting) threadedKernelStarting(k, kCalcKernelCount);
            result.figures.push_back(measureCalcKernel(team, k));
        }
    }
    return result;
}
