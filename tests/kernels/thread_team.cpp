// The team of pinned threads and where its threads go.
#include <gtest/gtest.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "kernels/cpu_placement.h"
#include "kernels/thread_team.h"
#include "kernels/threaded_kernels.h"

namespace {

TEST(SpreadOrder, OneThreadPerCoreFirstDealtOverPackagesAndDies)
{
    // Two packages of two cores with two processors each, numbered the way
    // Linux numbers them: the second processors of the cores come last.
    const std::vector<CpuPlace> twoPackages = {{0, 0, 0, 0}, {1, 0, 0, 1}, {2, 1, 0, 0}, {3, 1, 0, 1},
                                               {4, 0, 0, 0}, {5, 0, 0, 1}, {6, 1, 0, 0}, {7, 1, 0, 1}};
    EXPECT_EQ(spreadOrder(twoPackages), (std::vector<int>{0, 2, 1, 3, 4, 6, 5, 7}));

    // One package of two dies, three cores on die 0 and one on die 1, the
    // processors of a core numbered next to each other, the mask with holes.
    const std::vector<CpuPlace> twoDies = {{9, 0, 1, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}, {5, 0, 0, 4},
                                           {6, 0, 0, 5}, {8, 0, 1, 0}};
    EXPECT_EQ(spreadOrder(twoDies), (std::vector<int>{2, 8, 5, 6, 3, 9}));

    EXPECT_TRUE(spreadOrder({}).empty());
}

TEST(TeamProcessors, AsManyDistinctUsableProcessorsAsAskedOrNone)
{
    const std::vector<CpuPlace> usable = usableCpus();
    ASSERT_FALSE(usable.empty());
    const int all = static_cast<int>(usable.size());
    std::vector<int> cpus = teamProcessors(all);
    ASSERT_EQ(cpus.size(), usable.size());
    std::sort(cpus.begin(), cpus.end());
    EXPECT_EQ(std::adjacent_find(cpus.begin(), cpus.end()), cpus.end());
    EXPECT_TRUE(teamProcessors(all + 1).empty());
    EXPECT_TRUE(teamProcessors(0).empty());
}

TEST(ThreadTeam, SetsUpAndRunsEachThreadOnItsProcessorAfterOneStartAction)
{
    const std::vector<int> cpus = teamProcessors(static_cast<int>(usableCpus().size()));
    const std::size_t n = cpus.size();
    std::vector<int> setUpOn(n, -1);
    std::vector<std::thread::id> setUpBy(n);
    ThreadTeam team(cpus, [&](int i) {
        setUpOn[static_cast<std::size_t>(i)] = sched_getcpu();
        setUpBy[static_cast<std::size_t>(i)] = std::this_thread::get_id();
        return true;
    });
    ASSERT_EQ(team.problem(), "");
    EXPECT_EQ(setUpOn, cpus);

    std::atomic<int> bodiesThisRun{0};
    int starts = 0;
    int bodiesBeforeStart = 0;
    std::mutex seen;
    std::vector<int> ranOn(n, -1);
    std::vector<int> runsPerThread(n, 0);
    for (int run = 0; run < 3; ++run) {
        bodiesThisRun = 0;
        team.run(
            [&] {
                ++starts;
                bodiesBeforeStart += bodiesThisRun.load();
            },
            [&](int i) {
                ++bodiesThisRun;
                const std::lock_guard<std::mutex> lock(seen);
                ranOn[static_cast<std::size_t>(i)] = sched_getcpu();
                ++runsPerThread[static_cast<std::size_t>(i)];
                EXPECT_EQ(std::this_thread::get_id(), setUpBy[static_cast<std::size_t>(i)]);
            });
        EXPECT_EQ(bodiesThisRun.load(), static_cast<int>(n));
    }
    EXPECT_EQ(starts, 3);
    EXPECT_EQ(bodiesBeforeStart, 0);
    EXPECT_EQ(ranOn, cpus);
    EXPECT_EQ(runsPerThread, std::vector<int>(n, 3));
}

TEST(ThreadTeam, AFailedSetUpOrPinningIsReportedAndNothingRuns)
{
    const int cpu = teamProcessors(1).at(0);
    ThreadTeam refused({cpu}, [](int) { return false; });
    EXPECT_EQ(refused.problem(), "the thread on processor " + std::to_string(cpu) + " could not set up its work");
    bool ran = false;
    refused.run([&] { ran = true; }, [&](int) { ran = true; });
    EXPECT_FALSE(ran);

    ThreadTeam unpinnable({CPU_SETSIZE - 1});
    EXPECT_EQ(unpinnable.problem(), "cannot pin a thread to processor " + std::to_string(CPU_SETSIZE - 1));
}

}  // namespace
