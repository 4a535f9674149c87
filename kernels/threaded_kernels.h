// Stages 7 and 8 on many cores: every kernel of the stage run by a team of
// pinned threads at once, each over its own work, timed as whole runs
// (team_timing.h).  The bodies are the one-thread kernels' own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "kernels/team_timing.h"
#include "kernels/thread_team.h"

constexpr int kMemoryKernelCount = 9;  // read1 .. copy3, the stage's order
constexpr int kCalcKernelCount = 4;    // calc_add .. calc_div

// The processors `threads` threads take, spread over packages, dies and
// cores; empty when this process may use fewer processors than that.
std::vector<int> teamProcessors(int threads);

// A team whose threads each hold a pair of 256 MiB work buffers, allocated
// and first written by the thread itself so they sit in its own node.
class MemoryTeam {
public:
    explicit MemoryTeam(const std::vector<int>& cpus);
    ~MemoryTeam();
    const std::string& problem() const { return team_.problem(); }
    // Memory kernel k (0 .. 8) on every thread, best of 16 whole runs.
    TeamResult measure(int k);

private:
    struct Buffers;
    std::vector<Buffers> buffers_;  // outlives the threads
    ThreadTeam team_;
};

// Arithmetic kernel k (0 .. 3) on every thread of the team, best of 16.
TeamResult measureCalcKernel(ThreadTeam& team, int k);

struct ThreadedStage {
    std::string problem;              // empty when the stage was measured
    std::vector<int> cpus;            // the processor of each thread
    std::vector<TeamResult> figures;  // in the stage's order
};

// A whole stage, 7 or 8, with `threads` threads.
ThreadedStage measureStageThreaded(int stage, int threads);

// Called by measureStageThreaded before each kernel, outside its timing,
// with the kernel's place in the stage (from 0) and the stage's count, so
// that a caller can say how far the stage is.  None when empty.
extern std::function<void(int index, int count)> threadedKernelStarting;
