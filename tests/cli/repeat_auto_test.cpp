// pelorin-cli --repeat auto on the virtual clock: steady figures stop at
// the fewest passes, noisy ones (threaded ones too) run to the most.
#include <gtest/gtest.h>

#include <optional>

#include "cli/cli_fixture.h"
#include "cli/run/frame_driver.h"
#include "cli/sqlite_probe.h"
#include "kernels/cpu_placement.h"
#include "support/program_harness.h"
#include "support/quick_kernels.h"

namespace {

// Calc stand-ins that swing 30 % from pass to pass (each kernel runs once a
// pass): they never settle within a few percent.
int swings[4] = {};
template <int N>
double swingingStandIn() {
    return 1e4 * (N + 1) * (++swings[N] % 2 == 0 ? 1.3 : 1.0);
}
constexpr quick::Kernel kSwinging[4] = {swingingStandIn<0>, swingingStandIn<1>, swingingStandIn<2>,
                                        swingingStandIn<3>};

struct SwingingCalc : quick::SwappedKernels {
    SwingingCalc() : quick::SwappedKernels(quick::kMemoryStandIns, kSwinging) {
        for (int& s : swings) s = 0;
    }
};

// Only Stages 7 and 8 run here: no frame rate depends on the step, and
// long steps keep the headings and screens between them short.
void secondAFrame() { drive::advanceVirtualTime(1000); }

struct RepeatAuto : ::testing::Test {
    ProgramHarness program;
};

TEST_F(RepeatAuto, SteadyFiguresStopAtFivePassesAndTheRuleIsKept) {
    quick::Kernels steady;
    const std::string store = freshTempPath("repeat_auto.sqlite");
    const CliOutput r = runCliCaptured({"-b", "8", "--repeat", "auto", "--json", "-", "--store", store}, secondAFrame);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("[pass 5, at most 30] Stage 8 \"Calc\" done in"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("[pass 6"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Repeated until settled: 5 passes; every figure's interval of the median lies within "
                         "+-3% of the median\n"),
              std::string::npos)
        << r.err;

    const ResultsDocument doc = parsed(r.out);
    keepDocument("repeat_auto_steady", doc);
    EXPECT_EQ(doc["config"]["repeat"], 5);
    EXPECT_EQ(doc["config"]["passes_completed"], 5);
    EXPECT_EQ(doc["config"]["repeat_rule"],
              ResultsDocument({{"rule", "auto"}, {"settle_percent", 3.0}, {"min_repeat", 5}, {"max_repeat", 30},
                               {"unsettled", ResultsDocument::array()}}));
    EXPECT_EQ(doc["results"][0]["samples"].size(), 5u);
    // The store keeps the configuration as the document has it.
    const ResultsDocument stored = parsed(SqliteProbe(store).text("SELECT config FROM runs"));
    EXPECT_EQ(stored["repeat_rule"], doc["config"]["repeat_rule"]);
    EXPECT_EQ(stored["repeat"], 5);
}

// Two-thread figures that swing 30 % from pass to pass.
ThreadedStage swingingThreaded(int stage, int threads) {
    static int calls = 0;  // once a pass
    const double swing = ++calls % 2 == 0 ? 1.3 : 1.0;
    ThreadedStage s;
    for (int t = 0; t < threads; ++t) s.cpus.push_back(t);
    for (int k = 0; k < (stage == 7 ? 9 : 4); ++k) {
        TeamResult f;
        f.figure = 1000.0 * (k + 1) * threads * swing;
        f.bestSeconds = 0.5;
        f.perThread.assign(static_cast<std::size_t>(threads), 1000.0 * (k + 1));
        s.figures.push_back(f);
    }
    return s;
}

// With two processors the noisy figures are the two-thread ones, beside
// steady one-thread figures: the threaded runs count for settling too.
// With one processor the one-thread Calc kernels swing instead.
TEST_F(RepeatAuto, NoisyFiguresRunToTheMostAndAreNamed) {
    const bool threaded = usableCpus().size() >= 2;
    std::optional<quick::Kernels> steady;
    std::optional<SwingingCalc> swinging;
    ThreadedStage (*saved)(int, int) = measureThreadedStage;
    if (threaded) {
        steady.emplace();
        measureThreadedStage = swingingThreaded;
    } else {
        swinging.emplace();
    }
    const CliOutput r = runCliCaptured({"-b", "8", "--threads", threaded ? "1,2" : "1", "--repeat", "auto",
                                        "--max-repeat", "6", "--json", "-", "--no-save"},
                                       secondAFrame);
    measureThreadedStage = saved;
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("[pass 6, at most 6] Stage 8"), std::string::npos) << r.err;
    const std::string threads = threaded ? ", 2 threads" : "";
    EXPECT_NE(r.err.find("Repeated 6 passes, the most allowed; not settled within +-3%: Calc ADD" + threads +
                         "; Calc SUB" + threads + "; Calc MUL" + threads + "; Calc DIV" + threads + "\n"),
              std::string::npos)
        << r.err;

    const ResultsDocument doc = parsed(r.out);
    keepDocument("repeat_auto_noisy", doc);
    EXPECT_EQ(doc["config"]["repeat"], 6);
    EXPECT_EQ(doc["config"]["repeat_rule"]["max_repeat"], 6);
    EXPECT_EQ(doc["config"]["repeat_rule"]["unsettled"].size(), 4u);
    EXPECT_EQ(doc["config"]["repeat_rule"]["unsettled"][0],
              ResultsDocument({{"id", "calc_add"}, {"threads", threaded ? 2 : 1}}));
}

TEST(RepeatAutoOptions, SettleAndMostGoWithAutoOnly) {
    const CommandLine automatic = parseCommandLine({"--repeat", "auto", "--settle", "1.5", "--max-repeat=12"});
    ASSERT_TRUE(automatic.ok) << automatic.error;
    EXPECT_TRUE(automatic.run.repeatRule.automatic);
    EXPECT_DOUBLE_EQ(automatic.run.repeatRule.settlePercent, 1.5);
    EXPECT_EQ(automatic.run.repeatRule.maxRepeat, 12);
    EXPECT_EQ(automatic.run.repeat, 12);
    EXPECT_FALSE(parseCommandLine({"--repeat", "auto", "--repeat", "4"}).run.repeatRule.automatic);

    for (const auto& [args, mentions] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--settle", "3"}, "go with --repeat auto"},
             {{"--repeat", "4", "--max-repeat", "9"}, "go with --repeat auto"},
             {{"--repeat", "auto", "--max-repeat", "4"}, "--max-repeat: '4' is out of range (from 5 to 1000)"},
             {{"--repeat", "auto", "--settle", "0"}, "--settle: '0' is out of range (a percentage above 0"},
             {{"--repeat", "auto", "--settle", "1,5"}, "'1,5'"},
             {{"--repeat", "Auto"}, "or 'auto'"},
         }) {
        const CommandLine p = parseCommandLine(args);
        EXPECT_FALSE(p.ok) << mentions;
        EXPECT_NE(p.error.find(mentions), std::string::npos) << p.error;
    }
}

}  // namespace
