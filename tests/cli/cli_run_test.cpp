// pelorin-cli in-process on the virtual clock, 100 ms a frame, with quick
// stand-ins for the kernels: what it prints must be what the stages stored.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli/cli_fixture.h"
#include "kernels/kernel_timing.h"
#include "stages/kernel_stages.h"
#include "stages/result_screen.h"
#include "stages/stage_state.h"
#include "support/program_harness.h"
#include "support/quick_kernels.h"

namespace {

int calls = 0;

// Memory stand-ins return their place in the table; arithmetic ones grow
// with every call, so repeated passes give different samples, and say
// their best run took 0.1 s.
template <int N>
double memoryStandIn() {
    return 1000.0 * (N + 1);
}
template <int N>
double arithmeticStandIn() {
    kernel_best_seconds = 0.1;
    return 1e9 * (N + 1) + 1e6 * ++calls;
}

constexpr quick::Kernel kMemoryStandIns[9] = {memoryStandIn<0>, memoryStandIn<1>, memoryStandIn<2>,
                                              memoryStandIn<3>, memoryStandIn<4>, memoryStandIn<5>,
                                              memoryStandIn<6>, memoryStandIn<7>, memoryStandIn<8>};
constexpr quick::Kernel kArithmeticStandIns[4] = {arithmeticStandIn<0>, arithmeticStandIn<1>, arithmeticStandIn<2>,
                                                  arithmeticStandIn<3>};

struct StandInKernels : quick::SwappedKernels {
    StandInKernels() : quick::SwappedKernels(kMemoryStandIns, kArithmeticStandIns) { calls = 0; }
};


// The result screen's line as the terminal gets it: "％" becomes "%".
std::string asPrinted(const std::string& line) {
    const std::size_t at = line.find("\x81\x93");
    if (at == std::string::npos) return line;
    return line.substr(0, at) + "%" + line.substr(at + 2);
}


TEST(CliRun, StagesOneAndSevenPrintWhatTheStagesStored) {
    StandInKernels standIns;
    ProgramHarness program;         // fresh program state, virtual clock
    calc_add = -1.0;                // Stage 8 is not selected: must stay untouched
    FontSpeed2 = -1;
    const std::string json = ::testing::TempDir() + "cli_run.json";
    const std::string png = ::testing::TempDir() + "cli_run.png";

    const CliOutput r = runCliCaptured({"-b", "1", "-b", "7", "--time", "1", "--json", json, "--screenshot", png, "--no-save"},
                                       hundredMsAFrame);
    ASSERT_EQ(r.status, 0) << r.err;

    // The closing heading call opens the 1 s window at t; frames follow at
    // t + 100 ... t + 900: 9 frames in one second.
    EXPECT_EQ(FontSpeed1, 9);
    EXPECT_EQ(calc_add, -1.0);
    EXPECT_EQ(FontSpeed2, -1);
    EXPECT_EQ(read1, 1000.0);

    const std::vector<std::string> lines = linesOf(r.out);
    ASSERT_GE(lines.size(), 14u) << r.out;
    EXPECT_EQ(lines[0], asPrinted(formatFrameRateLine(0)));
    for (int i = 0; i < 9; ++i) {
        const std::string& line = lines[static_cast<std::size_t>(1 + i)];
        EXPECT_EQ(line.rfind(asPrinted(formatFigureLine(i)), 0), 0u) << line;
        // 1000 * (i + 1) on the "MB/S" scale: (i + 1) * 0.262144 GB/s.
        char gbps[32];
        std::snprintf(gbps, sizeof gbps, "  [%.3f GB/s]", (i + 1) * 0.262144);
        EXPECT_NE(line.find(gbps), std::string::npos) << line;
    }
    EXPECT_EQ(lines[10].rfind("Frame time, Font Speed 1: median ", 0), 0u) << lines[10];
    EXPECT_NE(lines[10].find(", 9 frames"), std::string::npos) << lines[10];
    EXPECT_EQ(lines[11], std::string("Benchmark Base CPU Spec (=100%): ") + referenceProcessor);
    EXPECT_EQ(lines[12].rfind("Your CPU Spec: ", 0), 0u);
    EXPECT_EQ(lines[13].rfind("Architecture: ", 0), 0u);
    EXPECT_EQ(r.out.find("Font Speed 2"), std::string::npos);
    EXPECT_EQ(r.out.find("Calc"), std::string::npos);

    EXPECT_NE(r.err.find("Stage 1 \"Font Speed 1\" started"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Stage 7 \"Memory Access Speed\" done in"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("Stage 2 "), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("offscreen driver"), std::string::npos) << r.err;

    const ResultsDocument doc = parsed(readFile(json));
    keepDocument("cli_run_stages_1_and_7", doc);
    const ResultsDocument& results = doc["results"];
    ASSERT_EQ(results.size(), 10u);
    EXPECT_EQ(results[0]["median"], 9.0);
    EXPECT_EQ(results[0]["frame_time_ms"]["frames"], 9);
    EXPECT_EQ(results[9]["id"], "copy3");
    EXPECT_EQ(results[9]["median"], 9000.0);
    EXPECT_EQ(doc["system"]["video_driver"], "offscreen");
    EXPECT_FALSE(doc["system"]["architecture"].get<std::string>().empty());
    EXPECT_EQ(doc["config"]["time_s"], 1);

    EXPECT_FALSE(std::filesystem::exists(::testing::TempDir() + "pelorin_test_data"));  // --no-save

    const std::string picture = readFile(png);
    ASSERT_GT(picture.size(), 24u);
    EXPECT_EQ(picture.substr(1, 3), "PNG");
    EXPECT_EQ(picture.substr(16, 8), std::string("\0\0\x05\x00\0\0\x02\xD0", 8));  // 1280 x 720
}

TEST(CliRun, RepeatGoesRoundThroughTheTitleAndReportsTheSpread) {
    StandInKernels standIns;
    ProgramHarness program;

    const CliOutput r = runCliCaptured({"-b", "8", "--repeat", "3", "--json", "-", "--no-save"}, hundredMsAFrame);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(calls, 12);  // four kernels, three passes

    // The report goes to standard error when the JSON takes standard output.
    const ResultsDocument doc = parsed(r.out);
    keepDocument("cli_run_stage_8_repeated", doc);
    const ResultsDocument& add = doc["results"][0];
    EXPECT_EQ(add["id"], "calc_add");
    // Pass p gives 1e9 + 1e6 * (4p - 3) for ADD.
    EXPECT_EQ(add["samples"].get<std::vector<double>>(), (std::vector<double>{1e9 + 1e6, 1e9 + 5e6, 1e9 + 9e6}));
    EXPECT_EQ(add["median"], 1e9 + 5e6);
    EXPECT_EQ(add["median_interval"]["low"], 1e9 + 1e6);
    EXPECT_EQ(add["median_interval"]["high"], 1e9 + 9e6);
    EXPECT_DOUBLE_EQ(add["reference"]["ratio"].get<double>(), (1e9 + 5e6) / 806451612.0);
    EXPECT_DOUBLE_EQ(add["precise_ops_per_s"]["median"].get<double>(), 1e9);

    EXPECT_NE(r.err.find("Calc ADD = 1005000000.000000 times/S"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("[1000000000 ops/s by the nanosecond clock]"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("median of 3; min 1001000000.000000, max 1009000000.000000"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("[pass 3/3] Stage 8 \"Calc\" done in"), std::string::npos) << r.err;
}

}  // namespace
