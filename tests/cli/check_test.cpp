// pelorin-cli check and --fail-on-regression end to end: results files and
// a store made for the purpose, and the exit status a CI job acts on.
#include <gtest/gtest.h>

#include "cli/cli_fixture.h"
#include "cli/results/results_store.h"
#include "support/program_harness.h"
#include "support/quick_kernels.h"

namespace {

// A run of Stages 7 and 8 with `passes` samples of every figure, around
// `level` with a 1 % spread; `lower` (an index, or -1) 20 % lower.
ResultsDocument stagesSevenAndEight(int passes, double level, int lower = -1) {
    RunResults r;
    r.passes = passes;
    for (int i = 6; i < kFigureTotal; ++i) {
        for (int p = 0; p < passes; ++p) {
            const double value = level * (1.0 + 0.01 * ((p * 7) % 5 - 2) / 2.0);
            r.samples[i].push_back(i == lower ? value * 0.8 : value);
            r.kernelSeconds[i].push_back(0.1);
        }
    }
    Options options;
    options.stages = {7, 8};
    options.repeat = passes;
    return resultsDocument(r, options, sampleSystem(), {}, sampleFacts());
}

std::string runFile(const std::string& name, const ResultsDocument& document) {
    keepDocument("check_" + name, document);
    return writeTempFile("check_" + name + ".json", documentText(document));
}

TEST(CheckCommand, ExitStatusSaysWorseNoneWorseOrNothingJudged) {
    const std::string base = runFile("base", stagesSevenAndEight(10, 10000.0));
    const std::string same = runFile("same", stagesSevenAndEight(10, 10010.0));
    const std::string slower = runFile("slower", stagesSevenAndEight(10, 10000.0, 15));  // calc_add
    const std::string few = runFile("few", stagesSevenAndEight(3, 10000.0));
    const std::string four = runFile("four", stagesSevenAndEight(4, 10000.0));
    const std::string markdown = freshTempPath("check.md");

    CliOutput r = runCliCaptured({"check", base, slower, "--markdown", markdown});
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    EXPECT_EQ(r.out.rfind("Check of " + slower + " (Test CPU @ 1.0GHz) against " + base, 0), 0u) << r.out;
    EXPECT_NE(r.out.find("  Calc ADD     "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("-20.00%"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Summary: 1 worse, 0 better, 12 the same (13 figures in both runs).\n"), std::string::npos)
        << r.out;
    const std::string page = readFile(markdown);
    EXPECT_EQ(page.rfind("## Pelorin Benchmark check: 1 worse\n", 0), 0u) << page;
    EXPECT_NE(page.find("| Calc ADD | times/S |"), std::string::npos) << page;
    EXPECT_NE(page.find("| **worse** |"), std::string::npos) << page;

    r = runCliCaptured({"check", base, same});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Summary: 0 worse, 0 better, 13 the same"), std::string::npos) << r.out;
    // A 20 % loss under a 25 % threshold is not worse.
    EXPECT_EQ(runCliCaptured({"check", base, slower, "--threshold", "25"}).status, 0);

    r = runCliCaptured({"check", few, four, "--markdown=" + markdown});
    EXPECT_EQ(r.status, 4) << r.err;
    EXPECT_NE(r.out.find("too few samples (each run needs at least 5)"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Summary: not one of the 13 figures in both runs could be judged.\n"), std::string::npos);
    EXPECT_EQ(readFile(markdown).rfind("## Pelorin Benchmark check: nothing could be judged\n", 0), 0u);
    // Each figure alone could reach 0.01 with 3 against 10 samples,
    // 2 / C(13, 3) = 0.007, but no figure can reach Holm's first step for
    // 13 figures, 0.01 / 13: none is judged, and each run needs 7 samples.
    r = runCliCaptured({"check", few, base});
    EXPECT_EQ(r.status, 4) << r.err;
    EXPECT_NE(r.out.find("too few samples (each run needs at least 7)"), std::string::npos) << r.out;
    // A wider alpha reaches it: 13 x 0.007 = 0.09.
    EXPECT_EQ(runCliCaptured({"check", few, base, "--alpha", "0.1"}).status, 0);
}

TEST(CheckCommand, StoredRunsByIdOrLast) {
    const std::string store = freshTempPath("check.sqlite");
    std::string error;
    std::unique_ptr<ResultsStore> s = ResultsStore::open(store, error);
    ASSERT_TRUE(s) << error;
    ASSERT_EQ(s->save(stagesSevenAndEight(10, 10000.0), error), 1) << error;
    ASSERT_EQ(s->save(stagesSevenAndEight(10, 10000.0, 6), error), 2)
        << error;
    s.reset();
    const CliOutput r = runCliCaptured({"check", "1", "last", "--store", store});
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_EQ(r.out.rfind("Check of run #2 (Test CPU @ 1.0GHz) against run #1 (Test CPU @ 1.0GHz):\n", 0), 0u) << r.out;
    EXPECT_EQ(runCliCaptured({"check", "1", "3", "--store", store}).status, 2);  // no run 3
}

TEST(CheckCommand, MistakesAndRunsWithoutSharedFiguresAreBadUsage) {
    const std::string base = runFile("base", stagesSevenAndEight(10, 10000.0));
    ResultsDocument onlyFontSpeed = sampleDocument(1.0);
    onlyFontSpeed["results"] = ResultsDocument::array({onlyFontSpeed["results"][0]});
    const std::string other = runFile("font_speed_only", onlyFontSpeed);
    struct Case {
        std::vector<std::string> args;
        std::string mentions;
    };
    const Case cases[] = {
        {{"check", base}, "check needs two runs"},
        {{"check", base, base, base}, "check needs two runs"},
        {{"check", base, other}, "share no figure"},
        {{"check", base, base, "--threshold", "-1"}, "--threshold: '-1' is out of range (a percentage from 0 to 1000)"},
        {{"check", base, base, "--threshold", "5%"}, "'5%'"},
        {{"check", base, base, "--alpha", "0"}, "--alpha: '0' is out of range (above 0 and below 1"},
        {{"check", base, base, "--alpha", "1"}, "'1'"},
        {{"check", base, base, "--alpha", "1e-3"}, "'1e-3'"},
        {{"check", base, base, "--nope", "1"}, "'--nope'"},
        {{"check", base, "/nonexistent/run.json"}, "/nonexistent/run.json"},
    };
    for (const Case& c : cases) {
        const CliOutput r = runCliCaptured(c.args);
        EXPECT_EQ(r.status, 2) << c.mentions;
        EXPECT_NE(r.err.find(c.mentions), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
}


// The quick stand-ins give Calc 10000 to 13000 in every pass.
struct FailOnRegression : ::testing::Test {
    quick::Kernels kernels;
    ProgramHarness program;
};

ResultsDocument calcAt(double level, int passes) {
    RunResults r;
    r.passes = passes;
    for (int i = 15; i < kFigureTotal; ++i) {
        r.samples[i].assign(passes, level * (i - 5));  // calc_add is 10 x level, ...
        r.kernelSeconds[i].assign(passes, 0.1);
    }
    Options options;
    options.stages = {8};
    options.repeat = passes;
    return resultsDocument(r, options, sampleSystem(), {}, sampleFacts());
}

TEST_F(FailOnRegression, ARunJudgesItselfAgainstItsBaseline) {
    const std::string faster = runFile("calc_faster", calcAt(2000.0, 20));  // twice the stand-ins
    const CliOutput r = runCliCaptured({"-b", "8", "--repeat", "3", "--compare", faster, "--fail-on-regression",
                                        "5", "--alpha", "0.02", "--no-save"},
                                       hundredMsAFrame);
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(r.out.find("Check of this run"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" against " + faster + " (Test CPU @ 1.0GHz):\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Holm-adjusted p <= 0.02 and the median changed by more than 5%."), std::string::npos)
        << r.out;
    // Three equal samples below twenty: p = 2 / C(23, 3) = 0.00113, times 4 figures.
    EXPECT_NE(r.out.find("-50.00%    0.0045  worse\n"), std::string::npos) << r.out;
    // Elsewhere than on x86-64 the line goes on to say the runs are not directly comparable.
    EXPECT_NE(r.out.find("Summary: 4 worse, 0 better, 0 the same (4 figures in both runs)."), std::string::npos);
}

TEST_F(FailOnRegression, MistakesAreRefusedBeforeMeasuring) {
    const std::string calc = runFile("calc_same", calcAt(1000.0, 10));
    for (const auto& [args, mentions] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"-b", "8", "--fail-on-regression", "5"}, "needs --compare"},
             {{"-b", "8", "--compare", calc, "--alpha", "0.05"}, "--alpha goes with --fail-on-regression"},
             {{"-b", "8", "--compare", calc, "--fail-on-regression", "x"}, "'x'"},
             {{"-b", "7", "--compare", calc, "--fail-on-regression", "5"}, "holds none of the figures"},
         }) {
        const CliOutput r = runCliCaptured(args, hundredMsAFrame);
        EXPECT_EQ(r.status, 2) << mentions;
        EXPECT_NE(r.err.find(mentions), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("Stage "), std::string::npos) << r.err;
    }
}

}  // namespace
