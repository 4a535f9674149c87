// The result screen's lines, byte for byte, its caption's motion, and the
// Enter latch and scroll state across the kernel stages.
#include <gtest/gtest.h>

#include <string>

#include "platform/linux/drive_hooks.h"
#include "stages/kernel_stages.h"
#include "stages/result_screen.h"
#include "stages/stage_routines.h"
#include "stages/stage_state.h"
#include "support/frame_fixture.h"

namespace {

TEST(ResultLines, FormatFiguresAndPercentagesByteForByte) {
    DrawSpriteSpeed = 167;
    _DrawSpriteSpeed = 1.0;
    EXPECT_EQ(std::string(formatFrameRateLine(4)), "Draw Sprite Speed = 167 fps (100.000000\x81\x93)");
    read1 = 52798.950208;
    _read1 = 1.0;
    EXPECT_EQ(std::string(formatFigureLine(0)), "Read Memory  = 52798.950208 MB/S (100.000000\x81\x93)");
    FastBltSpeed = 190;
    _FastBltSpeed = 1.0;
    EXPECT_EQ(std::string(formatFrameRateLine(2)), "CG Draw Speed (BitBlt)= 190 fps (100.000000\x81\x93)");
    DrawSpriteAlphaSpeed = 121;
    _DrawSpriteAlphaSpeed = 1.0;
    EXPECT_EQ(std::string(formatFrameRateLine(5)).size(), 53u);
    calc_div = 377358490.0;
    _calc_div = 1.0;
    EXPECT_EQ(std::string(formatFigureLine(12)), "Calc DIV = 377358490.000000 times/S (100.000000\x81\x93)");
}

TEST(ResultLines, AHugeFigureStaysInsideTheBuffer) {
    read1 = 1e300;
    _read1 = 1e300;
    EXPECT_LT(std::string(formatFigureLine(0)).size(), sizeof strbuf);
    read1 = _read1 = 0;
}

class ResultScreen : public StageFixture {
protected:
    void SetUp() override {
        StageFixture::SetUp();
        stage = 13;
        vy = 0;
        vadd = 0;
        bEnter = 0;
    }
};

TEST_F(ResultScreen, HoldingDownSlidesTheCaptionAndStopsOutOfSight) {
    vadd = 4;
    for (int i = 0; i < 10; ++i) fp0013();
    EXPECT_EQ(vy, 40);
    for (int i = 0; i < 1000; ++i) fp0013();
    EXPECT_EQ(vy, kCaptionOutOfSight);
    vadd = -4;
    for (int i = 0; i < 1000; ++i) fp0013();
    EXPECT_EQ(vy, 0);
    EXPECT_EQ(stage, 13);
}

TEST_F(ResultScreen, EnterReturnsToTheTitleAfterACompleteFrame) {
    vadd = 4;
    bEnter = 1;
    fp0013();
    EXPECT_EQ(stage, 0);
    EXPECT_EQ(phase, 0);
    EXPECT_EQ(bEnter, 0);
    EXPECT_EQ(vy, 4);  // the frame on which Enter is consumed still moves the caption
}

double standInKernel() { return 1234.5; }

TEST_F(ResultScreen, KernelStagesResetTheCaptionAndKeepTheEnterLatch) {
    KernelEntry saved[4];
    std::copy(std::begin(arithmeticKernels), std::end(arithmeticKernels), saved);
    for (KernelEntry& k : arithmeticKernels) k.kernel = standInKernel;
    stage = 12;
    phase = 0;
    vy = 100;
    vadd = 4;
    bEnter = 1;
    fp0012();                      // heading
    drive::advanceVirtualTime(1999);
    fp0012();
    EXPECT_EQ(phase, 1);
    drive::advanceVirtualTime(1);
    fp0012();                      // "Wait a minute"
    EXPECT_EQ(phase, 2);
    fp0012();                      // the kernels
    std::copy(saved, saved + 4, arithmeticKernels);
    EXPECT_EQ(stage, 13);
    EXPECT_EQ(vy, 0);
    EXPECT_EQ(vadd, 0);
    EXPECT_EQ(calc_add, 1234.5);
    EXPECT_DOUBLE_EQ(_calc_div, 1234.5 / 377358490.0);
    EXPECT_EQ(bEnter, 1);
    fp0013();  // shown for this one frame, then back to the title
    EXPECT_EQ(stage, 0);
}

}  // namespace
