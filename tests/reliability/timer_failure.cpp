// A periodic timer the platform refuses: one "error" / "timer" message box
// before the window is shown, then the run carries on as if nothing happened.
#include <gtest/gtest.h>

#include "platform/linux/drive_hooks.h"
#include "support/quick_kernels.h"
#include "stages/stage_state.h"
#include "support/program_harness.h"

namespace {

TEST(TimerFailure, OneMessageBoxThenTheTitleAndEveryStageRunToTheResults) {
    quick::Kernels kernels;
    ProgramHarness program;
    drive::refusePeriodicTimer(true);
    std::size_t boxesBeforeFirstFrame = 99;
    long frames = 0;
    bool reachedResults = false;
    const int exitCode = program.run([&](long frame) {
        if (frame == 0) boxesBeforeFirstFrame = drive::messageBoxes().size();
        frames = frame + 1;
        if (stage == 3) drive::tapKey(VK_RETURN);
        if (stage == 13) {
            reachedResults = true;
            drive::requestClose();
        }
        drive::advanceVirtualTime(500);
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(boxesBeforeFirstFrame, 1u);
    ASSERT_EQ(drive::messageBoxes().size(), 1u);
    EXPECT_EQ(drive::messageBoxes()[0].text, "error");
    EXPECT_EQ(drive::messageBoxes()[0].caption, "timer");
    EXPECT_TRUE(reachedResults);
    EXPECT_GT(frames, 3 * 255);
    EXPECT_GE(program.presents, frames - 20) << "nearly every frame presents";
    // 10 s measured in 500 ms frames: 19 frames, 1 frame per second.
    EXPECT_EQ(FontSpeed1, 1);
    EXPECT_EQ(DrawSpriteAlphaSpeed, 1);
    EXPECT_EQ(calc_div, 13000.0);
}

}  // namespace
