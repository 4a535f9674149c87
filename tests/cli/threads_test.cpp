// pelorin-cli --threads: the list, the refusals, and Stages 7 and 8 run once
// for each thread count, with a stand-in for the threaded measurement.
#include <gtest/gtest.h>

#include "cli/cli_fixture.h"
#include "cli/run/figures.h"
#include "cli/run/frame_driver.h"
#include "cli/run/system_info.h"
#include "cli/run/thread_counts.h"
#include "kernels/cpu_placement.h"
#include "stages/stage_state.h"
#include "support/program_harness.h"
#include "support/quick_kernels.h"

namespace {

TEST(ThreadsOption, ListsAllAndMistakes) {
    EXPECT_EQ(parseCommandLine({}).run.threads, std::vector<int>{1});
    EXPECT_EQ(parseCommandLine({"--threads", "4,1,2"}).run.threads, (std::vector<int>{4, 1, 2}));
    EXPECT_EQ(parseCommandLine({"--threads=all"}).run.threads, std::vector<int>{kAllThreads});
    EXPECT_EQ(parseCommandLine({"--threads", "1,all"}).run.threads, (std::vector<int>{1, kAllThreads}));
    for (const char* bad : {"0", "1,,2", "2,", "-1", "x", "ALL", "4097", "1.5"}) {
        const CommandLine p = parseCommandLine({"--threads", bad});
        EXPECT_FALSE(p.ok) << bad;
        EXPECT_EQ(p.error.rfind("--threads: '", 0), 0u) << p.error;
        EXPECT_NE(p.error.find("(counts from 1 to 4096 separated by commas, or 'all')"), std::string::npos) << p.error;
    }
    EXPECT_NE(helpText(Command::Run).find("--threads LIST"), std::string::npos);
}

TEST(ThreadCounts, AllIsEveryUsableProcessorAndRefusalsSayWhy) {
    EXPECT_EQ(resolveThreadCounts({4, kAllThreads, 1, 8, 1}, 8), (std::vector<int>{1, 4, 8}));
    // /proc/meminfo is read to its end, past the lines without a unit.
    EXPECT_GT(memInfoBytes("MemAvailable"), 0);
    EXPECT_GT(memInfoBytes("Hugepagesize"), 0);
    EXPECT_EQ(memInfoBytes("NoSuchLine"), -1);

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
double threadedScale = 0.95;

ThreadedStage standInThreaded(int stage, int threads) {
    ++threadedCalls;
    ThreadedStage s;
    s.problem = threadedProblem;
    for (int t = 0; t < threads; ++t) s.cpus.push_back(10 + t);
    const int first = stage == 7 ? 0 : 9;
    const int count = stage == 7 ? 9 : 4;
    for (int k = first; k < first + count; ++k) {
        TeamResult f;
        f.figure = 1000.0 * (k + 1) * threadedScale * threads;
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
        threadedScale = 0.95;
        saved = measureThreadedStage;
        measureThreadedStage = standInThreaded;
    }
    void TearDown() override {
        if (saved) measureThreadedStage = saved;
    }
    ThreadedStage (*saved)(int, int) = nullptr;
    quick::Kernels kernels;
    ProgramHarness program;
};


TEST_F(ThreadedRun, EachPassRunsBothStagesWithEachCountAndReportsTheScaling) {
    const CliOutput r = runCliCaptured({"-b", "7", "-b", "8", "--threads", "1,2", "--repeat", "2", "--no-save"}, hundredMsAFrame);
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
    const CliOutput r = runCliCaptured({"-b", "7", "--threads", "2", "--no-save"}, hundredMsAFrame);
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
    const CliOutput r = runCliCaptured({"-b", "7", "-b", "8", "--threads", "2", "--no-save"}, hundredMsAFrame);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(threadedCalls, 1);
    EXPECT_NE(r.err.find("pelorin-cli: Stage 7 with 2 threads could not be measured: the thread on processor 1 "
                         "could not set up its work\n"),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
}

TEST_F(ThreadedRun, ResultsCarryTheirThreadCountAndCompareByIt) {
    const std::string json = freshTempPath("threads.json");
    const std::string store = freshTempPath("threads.sqlite");
    const CliOutput first =
        runCliCaptured({"-b", "7", "-b", "8", "--threads", "1,2", "--json", json, "--store", store}, hundredMsAFrame);
    ASSERT_EQ(first.status, 0) << first.err;
    const ResultsDocument doc = parsed(readFile(json));
    keepDocument("threads", doc);
    ResultsDocument noThreads = doc;  // required from version 3 on
    noThreads["results"][13].erase("threads");
    keepBrokenDocument("version_3_result_without_threads", noThreads);
    EXPECT_EQ(doc["config"]["threads"], ResultsDocument::array({1, 2}));
    const ResultsDocument& results = doc["results"];
    ASSERT_EQ(results.size(), 26u);  // 13 figures with one thread, then 13 with two
    EXPECT_EQ(results[0]["id"], "read1");
    EXPECT_EQ(results[0]["threads"], 1);
    EXPECT_EQ(results[0]["median"], 1000.0);
    EXPECT_FALSE(results[0].contains("per_thread"));
    const ResultsDocument& read1 = results[13];
    EXPECT_EQ(read1["id"], "read1");
    EXPECT_EQ(read1["threads"], 2);
    EXPECT_EQ(read1["median"], 1900.0);
    EXPECT_EQ(read1["cpus"], ResultsDocument::array({10, 11}));
    EXPECT_EQ(read1["per_thread"], ResultsDocument::array({1000.0, 900.0}));
    EXPECT_DOUBLE_EQ(read1["thread_spread_percent"].get<double>(), 10.0);
    const ResultsDocument& add = results[22];
    EXPECT_EQ(add["id"], "calc_add");
    EXPECT_EQ(add["threads"], 2);
    EXPECT_DOUBLE_EQ(add["precise_ops_per_s"]["median"].get<double>(), 4e8);  // 2 x 10^8 turns in 0.5 s

    // The second run's two-thread figures are 5 % lower; each is set beside
    // the saved figure of its own thread count, from the store and the file.
    threadedScale = 0.9025;
    for (const std::string& saved : {std::string("last"), json}) {
        resetProgramState();  // each run starts from a fresh program, as in its own process
        const CliOutput second = runCliCaptured(
            {"-b", "7", "-b", "8", "--threads", "1,2", "--compare", saved, "--store", store, "--no-save"},
            hundredMsAFrame);
        ASSERT_EQ(second.status, 0) << second.err;
        EXPECT_NE(second.out.find("  Read Memory                            1000.000 MB/S [0.262 GB/s]  was         1000.000 [0.262 GB/s]     "
                                   "+0.00%\n"),
                  std::string::npos)
            << second.out;
        EXPECT_NE(second.out.find("  Read Memory, 2 threads                 1805.000 MB/S [0.473 GB/s]  was         1900.000 [0.498 GB/s]     "
                                   "-5.00%\n"),
                  std::string::npos)
            << second.out;
        EXPECT_NE(second.out.find("  Calc DIV, 2 threads                   23465.000 times/S  was        24700.000     -5.00%\n"),
                  std::string::npos)
            << second.out;
    }

    // A file of the first schema version knows one thread only: it holds
    // the one-thread figures, each once.
    ResultsDocument old = doc;
    old["schema_version"] = 1;
    old["results"] = ResultsDocument::array();
    for (ResultsDocument r : doc["results"]) {
        if (r["threads"] != 1) continue;
        r.erase("threads");
        old["results"].push_back(r);
    }
    const std::string oldFile = writeTempFile("threads_v1.json", documentText(old));
    resetProgramState();
    const CliOutput third =
        runCliCaptured({"-b", "7", "--threads", "1,2", "--compare", oldFile, "--no-save"}, hundredMsAFrame);
    ASSERT_EQ(third.status, 0) << third.err;
    EXPECT_NE(third.out.find("  Read Memory, 2 threads         not in the saved run\n"), std::string::npos) << third.out;
}

}  // namespace
