// The progress of a run: the time it has left, the status line a terminal
// gets (through a real pseudo-terminal), and the lines a pipe gets, which
// stay as they were.
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include <regex>
#include <thread>

#include "cli/cli_fixture.h"
#include "cli/run/progress.h"
#include "support/program_harness.h"
#include "support/quick_kernels.h"

namespace {

ProgressPlan planOf(std::vector<int> stages, int passes) {
    ProgressPlan p;
    p.stages = stages;
    p.frameLoopStages = stages;
    p.timeSeconds = 10;
    p.passes = passes;
    p.leastPasses = passes;
    return p;
}

TEST(TimeLeft, FromTheKnownDurationsThenFromWhatEachStageTook) {
    TimeLeft left(planOf({1, 7}, 2));
    // Heading and window of Stage 1 (12 s), Stage 7 (12 s), then the title
    // (1 s) and both again.
    EXPECT_DOUBLE_EQ(left.left(1, 0, 0.0).least, 12 + 12 + (1 + 12 + 12));
    EXPECT_DOUBLE_EQ(left.left(1, 0, 5.0).least, 7 + 12 + 25);
    EXPECT_DOUBLE_EQ(left.left(1, 0, 30.0).least, 0 + 12 + 25);  // overdue: taken to end soon
    left.stepTook({1, 1}, 11.0);
    left.stepTook({7, 1}, 20.0);
    left.betweenPassesTook(3.0);
    EXPECT_DOUBLE_EQ(left.left(1, 2, 0.0).least, 3 + 11 + 20);
    EXPECT_DOUBLE_EQ(left.left(2, 1, 5.0).least, 15);
    EXPECT_DOUBLE_EQ(left.left(2, 2, 0.0).least, 0);

    ProgressPlan automatic = planOf({8}, 30);
    automatic.passesAtMost = true;
    automatic.leastPasses = 5;
    TimeLeft autoLeft(automatic);
    EXPECT_DOUBLE_EQ(autoLeft.left(1, 0, 0.0).least, 7 + 4 * 8);
    EXPECT_DOUBLE_EQ(autoLeft.left(1, 0, 0.0).most, 7 + 29 * 8);
    EXPECT_DOUBLE_EQ(autoLeft.left(7, 0, 0.0).least, 7);  // past the fewest: this pass may be the last

    EXPECT_EQ(clockText(0.4), "0:00");
    EXPECT_EQ(clockText(75), "1:15");
    EXPECT_EQ(clockText(3725), "1:02:05");
}

TEST(TimeLeft, ThreadedRunsComeFirstInTheirStage) {
    ProgressPlan p = planOf({1, 7, 8}, 1);
    p.frameLoopStages = {1, 8};  // --threads 2,4: Stage 7 runs threaded only
    p.threadedStages = {7, 8};
    p.threadCounts = {2, 4};
    const std::vector<ProgressStep> steps = stepsOf(p);
    ASSERT_EQ(steps.size(), 6u);
    const int expected[6][2] = {{1, 1}, {7, 2}, {7, 4}, {8, 2}, {8, 4}, {8, 1}};
    for (std::size_t k = 0; k < steps.size(); ++k) {
        EXPECT_EQ(steps[k].stage, expected[k][0]);
        EXPECT_EQ(steps[k].threads, expected[k][1]);
    }
}

TEST(Progress, TheStatusLineSaysWhereTheRunIsAndWhatItHasLeft) {
    double now = 0.0;
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    ProgressPlan p = planOf({1, 7}, 2);
    p.threadedStages = {7};
    p.threadCounts = {2};
    Progress progress(out, true, p, [&] { return now; });

    now = 3.0;
    progress.stageStarted(1, 1);
    now = 8.0;
    progress.tick(1, 5.0, false);
    // 7 s of Stage 1 left, 12 of Stage 7 threaded and 12 alone, then the title and 36 s again.
    EXPECT_EQ(progress.statusLine(), "[pass 1/2] stage 1 of 2, Font Speed 1: 5/12 s | 0:08 in, ~1:08 left");
    now = 15.0;
    progress.stageFinished(1, 1, 12.0);
    progress.stageStarted(1, 7);
    progress.threadedStarted(1, 7, 2);
    // Too long for 80 columns: the name gives way.
    EXPECT_EQ(progress.statusLine(),
              "[pass 1/2] stage 2 of 2, Memory..., preparing its threads | 0:15 in, ~1:01 left");
    progress.kernelStarted(2, 9);
    EXPECT_EQ(progress.statusLine(), "[pass 1/2] stage 2 of 2, Memory Access Spe..., kernel 3/9 | 0:15 in, ~1:01 left");
    now = 25.0;
    progress.threadedFinished(1, 7, 2, 10.0);
    progress.tick(7, 0.5, false);
    EXPECT_EQ(progress.statusLine(), "[pass 1/2] stage 2 of 2, Memory Access Speed: heading | 0:25 in, ~0:47 left");
    progress.kernelStarted(0, 9);
    EXPECT_EQ(progress.statusLine(), "[pass 1/2] stage 2 of 2, Memory Access Speed, kernel 1/9 | 0:25 in, ~0:47 left");
    now = 30.0;
    progress.stageFinished(1, 7, 15.0);
    // The second pass from what the first took: 12 + 10 + 5 s and the title.
    now = 31.0;
    progress.stageStarted(2, 1);
    EXPECT_EQ(progress.statusLine(), "[pass 2/2] stage 1 of 2, Font Speed 1: 0/12 s | 0:31 in, ~0:27 left");
    std::fclose(out);
    const std::string drawn(text, size);
    std::free(text);
    // Each status line replaces the one before; the stage lines stand on their own.
    EXPECT_NE(drawn.find("\r\033[K[pass 1/2] Stage 1 \"Font Speed 1\" done in 12.0 s\n"), std::string::npos) << drawn;
    EXPECT_NE(drawn.find("\n[pass 1/2] Stage 7 \"Memory Access Speed\" with 2 threads started\n\r\033[K[pass 1/2] "
                         "stage 2 of 2"),
              std::string::npos)
        << drawn;
}

TEST(Progress, RepeatAutoGivesTheLeastAndTheMostLeft) {
    double now = 0.0;
    ProgressPlan p = planOf({8}, 30);
    p.passesAtMost = true;
    p.leastPasses = 5;
    std::FILE* out = std::fopen("/dev/null", "w");
    Progress drawn(out, true, p, [&] { return now; });
    drawn.stageStarted(1, 8);
    EXPECT_EQ(drawn.statusLine(), "[pass 1, at most 30] stage 1 of 1, Calc: heading | 0:00 in, 0:39 to 3:59 left");
    std::fclose(out);
}

// Reads what a pseudo-terminal's program side writes, until it closes.
struct Terminal {
    int master = -1, program = -1;
    std::string seen;
    std::thread reader;

    explicit Terminal(unsigned short columns) {
        winsize size{24, columns, 0, 0};
        EXPECT_EQ(openpty(&master, &program, nullptr, nullptr, &size), 0);
        reader = std::thread([this] {
            char chunk[4096];
            for (ssize_t n; (n = read(master, chunk, sizeof chunk)) > 0;) seen.append(chunk, static_cast<std::size_t>(n));
        });
    }
    // Everything written, once the program side is closed.
    std::string finish() {
        close(program);
        reader.join();
        close(master);
        return seen;
    }
};

TEST(ProgressOnATerminal, TheStatusLineMovesThroughTheKernelsAndFitsTheTerminal) {
    quick::Kernels standIns;
    ProgramHarness program;
    Terminal terminal(72);
    std::FILE* err = fdopen(dup(terminal.program), "w");
    ASSERT_TRUE(isatty(fileno(err)));
    const CliOutput r = runCliCaptured({"-b", "1", "-b", "7", "--time", "1", "--repeat", "2", "--no-save"},
                                       hundredMsAFrame, [&](CliStreams& streams) {
                                           streams.err = err;
                                           streams.errIsTerminal = true;
                                       });
    std::fclose(err);
    const std::string seen = terminal.finish();
    ASSERT_EQ(r.status, 0) << seen;

    std::vector<std::string> statusLines;
    for (std::size_t at = 0; (at = seen.find("\r\033[K", at)) != std::string::npos; at += 4) {
        const std::size_t end = seen.find_first_of("\r\n", at + 4);
        statusLines.push_back(seen.substr(at + 4, end - at - 4));
    }
    std::size_t kernels = 0, secondPass = 0;
    for (const std::string& line : statusLines) {
        if (line.find(" in, ~") == std::string::npos) continue;
        EXPECT_LE(line.size(), 71u) << line;  // one column short of the terminal, so it never wraps
        kernels += line.find(", kernel ") != std::string::npos;
        secondPass += line.rfind("[pass 2/2] ", 0) != std::string::npos;
    }
    EXPECT_EQ(kernels, 18u) << seen;  // nine kernels a pass, each redraws the line as it starts
    EXPECT_GT(secondPass, 0u) << seen;
    // The lines of a pipe are there too, each on a line of its own.
    EXPECT_NE(seen.find("\r\n[pass 2/2] Stage 7 \"Memory Access Speed\" started\r\n\r\033[K[pass 2/2] stage 2 of 2"),
              std::string::npos)
        << seen;
}

TEST(ProgressOffATerminal, EachStageGetsTheLinesItAlwaysHad) {
    quick::Kernels standIns;
    ProgramHarness program;
    const CliOutput r = runCliCaptured({"-b", "1", "-b", "7", "--time", "1", "--repeat", "2", "--no-save"},
                                       hundredMsAFrame);
    ASSERT_EQ(r.status, 0) << r.err;
    // Warnings about the machine (its load) may come before the last line.
    std::string err = std::regex_replace(r.err, std::regex("done in [0-9]+\\.[0-9] s"), "done in T s");
    err = std::regex_replace(err, std::regex("pelorin-cli: warning: [^\n]*\n"), "");
    EXPECT_EQ(err,
              "[pass 1/2] Stage 1 \"Font Speed 1\" started\n"
              "[pass 1/2] Stage 1 \"Font Speed 1\" done in T s\n"
              "[pass 1/2] Stage 7 \"Memory Access Speed\" started\n"
              "[pass 1/2] Stage 7 \"Memory Access Speed\" done in T s\n"
              "[pass 2/2] Stage 1 \"Font Speed 1\" started\n"
              "[pass 2/2] Stage 1 \"Font Speed 1\" done in T s\n"
              "[pass 2/2] Stage 7 \"Memory Access Speed\" started\n"
              "[pass 2/2] Stage 7 \"Memory Access Speed\" done in T s\n"
              "not saved (--no-save)\n");
}

}  // namespace
