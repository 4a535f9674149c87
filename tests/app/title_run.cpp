// The real program from wWinMain to exit, in-process on the offscreen driver:
// the window, the title sequence as presented, Enter, and a clean close.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/main_window.h"
#include "kernels/work_buffers.h"
#include "render/frame_buffer.h"
#include "render/picture.h"
#include "stages/stage_state.h"
#include "support/program_harness.h"

namespace {

// The title screen as the pictures compose it: the wallpaper word for word
// in memory order, then the three logo pieces drawn opaque wherever their
// alpha is not 0; returned top row first, as the window shows it.
std::vector<std::uint32_t> expectedTitleScreen() {
    std::vector<std::uint32_t> memory(pic_wp.pixels, pic_wp.pixels + 1280 * 720);
    struct Piece {
        int x, y, w, h;
    };
    for (const Piece& p : {Piece{320, 381, 640, 274}, Piece{380, 65, 520, 86}, Piece{276, 223, 728, 72}}) {
        for (int r = 0; r < p.h; ++r)
            for (int c = 0; c < p.w; ++c) {
                const std::uint32_t s = pic_logo.pixels[(p.y + r) * pic_logo.width + p.x + c];
                if (s >> 24) memory[static_cast<std::size_t>((p.y + r) * 1280 + p.x + c)] = s;
            }
    }
    std::vector<std::uint32_t> window(1280 * 720);
    for (int r = 0; r < 720; ++r)
        std::memcpy(&window[static_cast<std::size_t>(r) * 1280], &memory[static_cast<std::size_t>(719 - r) * 1280],
                    1280 * 4);
    return window;
}

int differingPixels(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    int count = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) count += ((a[i] ^ b[i]) & 0xFFFFFF) != 0;
    return count;
}

TEST(ProgramRun, PlaysTheTitleSequenceWaitsForEnterAndClosesWithExitCode0) {
    ProgramHarness program;
    program.keepLastFrame = true;
    std::vector<int> stageOfFrame;
    std::vector<std::uint32_t> titleFrame;
    std::vector<std::uint32_t> firstFrame;
    int enterAt = -1;
    const int exitCode = program.run([&](long frame) {
        stageOfFrame.push_back(stage);
        if (frame == 1) firstFrame = program.lastFrame;
        if (stage == 3 && titleFrame.empty() && frame > 600) {
            titleFrame = program.lastFrame;
            drive::tapKey(VK_RETURN);
            enterAt = static_cast<int>(frame);
        }
        if (stage == 5) drive::requestClose();
        drive::advanceVirtualTime(1);
    });
    EXPECT_EQ(exitCode, 0);
    ASSERT_GT(enterAt, 0);

    // Frame 0 of the loop is the first wallpaper fade frame; stage 0 ran
    // inside UpdateWindow and showed nothing.
    ASSERT_GE(stageOfFrame.size(), 800u);
    EXPECT_EQ(stageOfFrame[0], 1);
    EXPECT_EQ(std::count(stageOfFrame.begin(), stageOfFrame.end(), 1), 255);
    EXPECT_EQ(std::count(stageOfFrame.begin(), stageOfFrame.end(), 2), 255);
    EXPECT_EQ(std::count(stageOfFrame.begin(), stageOfFrame.end(), 4), 255);

    EXPECT_EQ(program.frameWidth, 1280);
    EXPECT_EQ(program.frameHeight, 720);
    ASSERT_EQ(firstFrame.size(), 1280u * 720u);
    EXPECT_EQ(differingPixels(firstFrame, std::vector<std::uint32_t>(1280 * 720, 0)), 0) << "level 0 is black";
    EXPECT_EQ(differingPixels(titleFrame, expectedTitleScreen()), 0);
}

TEST(ProgramRun, ClientAreaIs1280x720AfterStartUp) {
    ProgramHarness program;
    RECT client{};
    program.run([&](long) {
        GetClientRect(hMainWnd, &client);
        drive::requestClose();
    });
    EXPECT_EQ(client.right - client.left, 1280);
    EXPECT_EQ(client.bottom - client.top, 720);
}

TEST(ProgramRun, ARefusedTimerShowsOneMessageBoxAndTheRunGoesOn) {
    ProgramHarness program;
    drive::refusePeriodicTimer(true);
    long frames = 0;
    const int exitCode = program.run([&](long frame) {
        frames = frame;
        if (frame == 5) drive::requestClose();
    });
    EXPECT_EQ(exitCode, 0);
    EXPECT_GE(frames, 5);
    ASSERT_EQ(drive::messageBoxes().size(), 1u);
    EXPECT_EQ(drive::messageBoxes()[0].text, "error");
    EXPECT_EQ(drive::messageBoxes()[0].caption, "timer");
}

}  // namespace
