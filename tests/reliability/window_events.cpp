// The window resized, maximised, minimised and restored while the title and
// the frame-rate stages run, and closed while Stage 7's kernels run.
#include <SDL.h>
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "app/main_window.h"
#include "frame_checks.h"
#include "platform/linux/drive_hooks.h"
#include "support/quick_kernels.h"
#include "render/frame_buffer.h"
#include "stages/stage_state.h"
#include "support/program_harness.h"

namespace {

void pushWindowEvent(Uint8 event, int data1 = 0, int data2 = 0) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = event;
    e.window.windowID = 0;
    e.window.data1 = data1;
    e.window.data2 = data2;
    SDL_PushEvent(&e);
}

// One thing a user or the window manager does to the window; `n` picks it.
void disturbWindow(int n) {
    switch (n % 10) {
        case 0: SetWindowPos(hMainWnd, nullptr, 0, 0, 640, 360, SWP_NOZORDER | SWP_NOMOVE); break;
        case 1: SetWindowPos(hMainWnd, nullptr, 40, 30, 1921, 1083, SWP_NOZORDER); break;
        case 2: ShowWindow(hMainWnd, SW_SHOWMAXIMIZED); pushWindowEvent(SDL_WINDOWEVENT_MAXIMIZED); break;
        case 3: ShowWindow(hMainWnd, SW_MINIMIZE); pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED); break;
        case 4: ShowWindow(hMainWnd, SW_RESTORE); pushWindowEvent(SDL_WINDOWEVENT_RESTORED); break;
        case 5: SetWindowPos(hMainWnd, nullptr, 0, 0, 1, 1, SWP_NOZORDER | SWP_NOMOVE); break;
        case 6: pushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 300, 200); pushWindowEvent(SDL_WINDOWEVENT_EXPOSED); break;
        case 7: SetWindowPos(hMainWnd, nullptr, -500, -400, 1283, 725, SWP_NOZORDER); break;
        case 8: pushWindowEvent(SDL_WINDOWEVENT_HIDDEN); ShowWindow(hMainWnd, SW_SHOW); break;
        default: SetClientSize(hMainWnd, 1280, 720); break;
    }
}

TEST(WindowEvents, ResizingDuringTitleAndFrameRateStagesKeepsTheFrameTopLeftAndTheRunGoing) {
    quick::Kernels kernels;
    ProgramHarness program;
    std::int32_t stageBefore = 0, phaseBefore = 0;
    long checkedFrames = 0, misplacedFrames = 0, disturbances = 0;
    std::set<std::pair<int, int>> sizes;
    std::set<int> disturbedStages;
    drive::setPresentHook([&](const drive::Frame& f) {
        sizes.insert({f.width, f.height});
        // Frames that present the frame buffer as it stands: every title
        // frame, and the heading and test frames of the stages that end with
        // presentFrame (Stages 3 and 4 make their own copies).
        const bool title = stageBefore >= 1 && stageBefore <= 4;
        const bool presenting = (stageBefore == 5 || stageBefore == 6 || stageBefore == 9 || stageBefore == 10) &&
                                (phaseBefore == 1 || phaseBefore == 2) && stage == stageBefore &&
                                phase == phaseBefore;
        if (!title && !presenting) return;
        ++checkedFrames;
        if (framePixelsOffCorner(f) != 0) ++misplacedFrames;
    });
    bool reachedResults = false;
    const int exitCode = program.run([&](long frame) {
        const bool newStage = stage != stageBefore;
        stageBefore = stage;
        phaseBefore = phase;
        if (stage >= 1 && stage <= 10 && (frame % 7 == 3 || newStage)) {
            disturbWindow(static_cast<int>(disturbances++));
            disturbedStages.insert(stage);
        }
        if (stage == 3 && frame % 5 == 0) drive::tapKey(VK_RETURN);
        if (stage == 13) {
            reachedResults = true;
            drive::requestClose();
        }
        drive::advanceVirtualTime(250);
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(reachedResults) << "the frame loop went on to the result screen";
    EXPECT_EQ(disturbedStages.size(), 10u);
    EXPECT_GE(sizes.size(), 4u) << "the window surface really changed size";
    EXPECT_GT(checkedFrames, 800);
    EXPECT_EQ(misplacedFrames, 0);
    for (std::int32_t rate : {FontSpeed1, FontSpeed2, FastBltSpeed, StretchBltSpeed, DrawSpriteSpeed,
                              DrawSpriteAlphaSpeed})
        EXPECT_EQ(rate, 3);  // 39 frames in 10 s of 250 ms frames
}

// A close box clicked while Stage 7 runs its kernels waits in the queue; the
// kernels finish, and the process then ends with exit code 0.
double closeWhileMeasuring() {
    drive::requestClose();
    return 4242.0;
}

TEST(WindowEvents, CloseDuringStage7EndsWithExitCode0OnceTheKernelsReturn) {
    quick::Kernels kernels;
    memoryKernels[2].kernel = closeWhileMeasuring;
    ProgramHarness program;
    for (double* f : {&read1, &copy3, &calc_add}) *f = -1.0;
    std::int32_t lastStage = -1;
    const int exitCode = program.run([&](long) {
        lastStage = stage;
        if (stage == 3) drive::tapKey(VK_RETURN);
        drive::advanceVirtualTime(500);
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(lastStage, 11) << "no frame after the kernel frame";
    EXPECT_EQ(stage, 12) << "Stage 7 finished";
    EXPECT_EQ(read1, 1000.0);
    EXPECT_EQ(read3, 4242.0);
    EXPECT_EQ(copy3, 9000.0) << "the kernels after the close request still ran";
    EXPECT_EQ(calc_add, -1.0) << "Stage 8 never started";
}

}  // namespace
