// pelorin-cli --window started from a terminal keeps the result screen
// after the last stage, as the window program does, and saves and prints
// once the person presses Enter (on the terminal or in the window) or
// closes the window.  Without a terminal, or with --no-wait, it closes at
// once.  In-process on the offscreen driver, with a pseudo-terminal as
// standard input.
#include <gtest/gtest.h>
#include <pty.h>
#include <unistd.h>

#include "cli/cli_fixture.h"
#include "platform/linux/drive_hooks.h"
#include "stages/stage_state.h"
#include "support/program_harness.h"
#include "support/quick_kernels.h"

namespace {

constexpr int kResultScreen = 13;

enum class Ending { TerminalEnter, WindowEnter, WindowClosed };

struct WaitedRun {
    CliOutput output;
    int resultScreenFrames = 0;  // frames drawn while the result screen stood
};

// A quick --window run of Stage 7 with a terminal (or none) as standard
// input; once the result screen has stood for 5 frames the person ends it.
WaitedRun windowRun(const std::string& storeName, bool terminal, Ending ending, std::vector<std::string> more = {}) {
    quick::Kernels standIns;
    ProgramHarness program;
    int master = -1, slave = -1;
    EXPECT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    WaitedRun run;
    const auto person = [&] {
        halfASecondAFrame();
        if (stage != kResultScreen) return;
        if (++run.resultScreenFrames != 5) return;
        if (ending == Ending::TerminalEnter) {
            EXPECT_EQ(write(master, "\n", 1), 1);
        } else if (ending == Ending::WindowEnter) {
            drive::tapKey(VK_RETURN);
        } else {
            drive::requestClose();
        }
    };
    std::vector<std::string> args{"--window", "-b", "7", "--store", freshTempPath(storeName)};
    args.insert(args.end(), more.begin(), more.end());
    run.output = runCliCaptured(args, person, [&](CliStreams& streams) {
        streams.in = slave;
        streams.inIsTerminal = terminal;
    });
    close(master);
    close(slave);
    return run;
}

const char* const kPrompt = "The result screen stays in the window: press Enter here or in the window, or close "
                            "it, to save and print the figures.\n";

TEST(WindowWait, TheResultScreenStaysUntilThePersonIsDone) {
    for (const Ending ending : {Ending::TerminalEnter, Ending::WindowEnter, Ending::WindowClosed}) {
        const WaitedRun run = windowRun("window_waited.sqlite", true, ending);
        EXPECT_EQ(run.output.status, 0) << run.output.err;
        // Ended on the 5th frame of the result screen, within a frame or two.
        EXPECT_GE(run.resultScreenFrames, 5);
        EXPECT_LE(run.resultScreenFrames, 7);
        EXPECT_NE(run.output.err.find(kPrompt), std::string::npos) << run.output.err;
        // Saved and printed after the prompt, and only then.
        EXPECT_GT(run.output.err.find("saved as run 1 in "), run.output.err.find(kPrompt)) << run.output.err;
        EXPECT_NE(run.output.out.find("Copy Memory (SSE) = "), std::string::npos) << run.output.out;
    }
}

TEST(WindowWait, WithoutATerminalOrWithNoWaitTheWindowClosesAtOnce) {
    for (const bool terminal : {false, true}) {
        const WaitedRun run = windowRun("window_not_waited.sqlite", terminal, Ending::WindowClosed,
                                        terminal ? std::vector<std::string>{"--no-wait"} : std::vector<std::string>{});
        EXPECT_EQ(run.output.status, 0) << run.output.err;
        EXPECT_LE(run.resultScreenFrames, 2);
        EXPECT_EQ(run.output.err.find("The result screen stays"), std::string::npos) << run.output.err;
        EXPECT_NE(run.output.err.find("saved as run 1 in "), std::string::npos) << run.output.err;
    }
}

}  // namespace
