// pelorin-cli --threads: the list, the refusals, and Stages 7 and 8 run once
// for each thread count, with a stand-in for the threaded measurement.
#include <gtest/gtest.h>

#include "cli/cli_fixture.h"
#include "cli/figures.h"
#include "cli/frame_driver.h"
#include "cli/thread_counts.h"
#include "kernels/cpu_placement.h"
#include "stages/stage_state.h"
#include "support/program_harness.h"
#include "support/quick_kernels.h"

namespace {

TEST(ThreadsOption, ListsAllAndMistakes) {
    EXPECT_EQ(parseOptions({}).options.threads, std::vector<int>{1});
    EXPECT_EQ(parseOptions({"--threads", "4,1,2"}).options.threads, (std::vector<int>{4, 1, 2}));
    EXPECT_EQ(parseOptions({"--threads=all"}).options.threads, std::vector<int>{kAllThreads});
    EXPECT_EQ(parseOptions({"--threads", "1,all"}).options.threads, (std::vector<int>{1, kAllThreads}));
    for (const char* bad : {"", "0", "1,,2", "2,", "-1", "x", "ALL", "4097", "1.5"}) {
        const ParsedOptions p = parseOptions({"--threads", bad});
        EXPECT_FALSE(p.ok) << bad;
        EXPECT_NE(p.error.find("--threads needs thread counts"), std::string::npos) << p.error;
    }
    EXPECT_NE(usageText().find("--threads LIST"), std::string::npos);
}

TEST(ThreadCounts, AllIsEveryUsableProcessorAndRefusalsSayWhy) {
    EXPECT_EQ(resolveThreadCounts({4, kAllThreads, 1, 8, 1}, 8), (std::vector<int>{1, 4, 8}));

    constexpr long long MiB = 1024 * 1024;
    EXPECT_EQ(threadRefusal({1, 2, 4}, 4, 4096 * MiB, true), "");
    EXPECT_EQ(threadRefusal({2}, 1, -1, false), "--threads 2 is more threads than the 1 processor this process may use");
    EXPECT_EQ(threadRefusal({1, 5}, 4, -1, false),
              "--threads 5 is more threads than the 4 processors this process may use");
    // 4 x 512 MiB against 2047 MiB: refused, and it says how much it needs.
    EXPECT_EQ(threadRefusal({4}, 4, 2047 * MiB, true),
              "Stage 7 with 4 threads needs 4 x 512 MiB = 2048 MiB of memory, but only 2047 MiB are available "
              "(MemAvailable)");
    EXPECT_EQ(threadRefusal({4}, 4, 2048 * MiB, true), "");
    EXPECT_EQ(threadRefusal({4}, 4, 100 * MiB, false), "");  // Stage 8 needs no buffers
    EXPECT_EQ(threadRefusal({4}, 4, -1, true), "");          // MemAvailable unknown
}

TEST(ThreadCounts, TooManyThreadsIsRefusedBeforeAnythingRuns) {
    const std::string tooMany = std::to_string(usableCpus().size() + 1);
    const CliOutput r = runCliCaptured({"-b", "8", "--threads", "1," + tooMany});
    EXPECT_EQ(r.status, 2);
    const std::string usable = std::to_string(usableCpus().size());
    EXPECT_EQ(r.err, "pelorin-cli: --threads " + tooMany + " is more threads than the " + usable +
                         (usable == "1" ? " processor" : " processors") + " this process may use\n");
    EXPECT_TRUE(r.out.empty());
}

// Every thread count's figures are its stage's one-thread stand-in figures
// (quick::kStandIns: 1000 .. 13000) times 0.95 x the count; each thread
// gives its share, the second 10 % below the first.
int threadedCalls = 0;
std::string threadedProblem;

ThreadedStage standInThreaded(int stage, int threads) {
    ++threadedCalls;
    ThreadedStage s;
    s.problem = threadedProblem;
    for (int t = 0; t < threads; ++t) s.cpus.push_back(10 + t);
    const int first = stage == 7 ? 0 : 9;
    const int count = stage == 7 ? 9 : 4;
    for (int k = first; k < first + count; ++k) {
        TeamResult f;
        f.figure = 1000.0 * (k + 1) * 0.95 * threads;
        f.bestSeconds = 0.5;
        for (int t = 0; t < threads; ++t) f.perThread.push_back(1000.0 * (k + 1) * (t == 0 ? 1.0 : 0.9));
        s.figures.push_back(f);
    }
    return s;
}

struct ThreadedRun : ::testing::Test {
    void SetUp() override {
        if (usableCpus().size() < 2) GTEST_SKIP() << "needs two usable processors";
        threadedCalls = 0;
        threadedProblem.clear();
        saved = measureThreadedStage;
        measureThreadedStage = standInThreaded;
        seam::setPresentHook(nullptr);
    }
    void TearDown() override {
        if (saved) measureThreadedStage = saved;
    }
    ThreadedStage (*saved)(int, int) = nullptr;
    quick::Kernels kernels;
    ProgramHarness program;
};

void hundredMsAFrame() { seam::advanceVirtualTime(100); }

TEST_F(ThreadedRun, EachPassRunsBothStagesWithEachCountAndReportsTheScaling) {
    const CliOutput r = runCliCaptured({"-b", "7", "-b", "8", "--threads", "1,2", "--repeat", "2"}, hundredMsAFrame);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(threadedCalls, 4);
    EXPECT_NE(r.err.find("[pass 2/2] Stage 8 \"Calc\" with 2 threads done in"), std::string::npos) << r.err;

    EXPECT_NE(r.out.find("Read Memory  = 1000.000000 MB/S"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("With 2 threads on processors 10, 11:\n"), std::string::npos) << r.out;
    // 1000 x 0.95 x 2 = 1900 "MB/S", 0.498 GB/s; the threads 1000 and 900.
    EXPECT_NE(r.out.find("  " + screenLine(6, 1900.0) + "  [0.498 GB/s]  each thread 1000.0 900.0 (spread 10.0%)  median of 2;"),
              std::string::npos)
        << r.out;
    // Two threads of 100,000,000 turns in 0.5 s.
    EXPECT_NE(r.out.find("[400000000 ops/s by the nanosecond clock]  each thread 10000 9000 (spread 10.0%)"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Scaling with threads (median figure; speed-up over one thread):\n"), std::string::npos);
    EXPECT_NE(r.out.find("  Write Memory (SSE)                      6000.0 x1.00             11400.0 x1.90    MB/S\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("  Calc DIV                               13000.0 x1.00             24700.0 x1.90    times/S\n"),
              std::string::npos)
        << r.out;
}

TEST_F(ThreadedRun, WithoutOneThreadTheStagesOwnKernelsDoNotRun) {
    read1 = -1.0;
    const CliOutput r = runCliCaptured({"-b", "7", "--threads", "2"}, hundredMsAFrame);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(threadedCalls, 1);
    EXPECT_EQ(read1, -1.0);
    EXPECT_EQ(r.out.rfind("With 2 threads on processors 10, 11:\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("  Read Memory                                          -            1900.0          MB/S\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.err.find("Stage 7 \"Memory Access Speed\" started"), std::string::npos) << r.err;
}

TEST_F(ThreadedRun, AStageThatCannotBeMeasuredEndsTheRunWithItsReason) {
    threadedProblem = "the thread on processor 1 could not set up its work";
    const CliOutput r = runCliCaptured({"-b", "7", "-b", "8", "--threads", "2"}, hundredMsAFrame);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(threadedCalls, 1);
    EXPECT_NE(r.err.find("pelorin-cli: Stage 7 with 2 threads could not be measured: the thread on processor 1 "
                         "could not set up its work\n"),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
}

}  // namespace
