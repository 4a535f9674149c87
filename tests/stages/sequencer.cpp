// The frame-rate template's exact boundaries and the title sequence's
// hand-overs, driven call by call on the virtual clock.
#include <gtest/gtest.h>

#include <vector>

#include "platform/linux/drive_hooks.h"
#include "render/frame_buffer.h"
#include "render/picture.h"
#include "stages/frame_rate_stage.h"
#include "stages/stage_routines.h"
#include "stages/stage_state.h"

namespace {

int prepared = 0;
int framesDrawn = 0;
std::int32_t counter = 0;
double ratio = 0;

void countPrepare() { ++prepared; }
void countFrame() { ++framesDrawn; }

const FrameRateStage testStage{"Stage 9", "Test", &counter, &ratio, 45.0, countPrepare, true, countFrame};

class FrameRateTemplate : public ::testing::Test {
protected:
    std::vector<std::uint32_t> frame = std::vector<std::uint32_t>(1280 * 720);

    void SetUp() override {
        vramptr = reinterpret_cast<std::uint8_t*>(frame.data());
        drive::useVirtualClock(true);
        stage = 5;
        phase = 0;
        prepared = framesDrawn = 0;
        counter = -1;
        ratio = 0;
    }
    void TearDown() override {
        vramptr = nullptr;
        drive::useVirtualClock(false);
    }
    void callAt(DWORD ms) {
        drive::setVirtualTime(ms);
        runFrameRateStage(testStage);
    }
    // Runs preparation and heading from `start`, leaving the stage measuring
    // from start + 2000.
    void startMeasuring(DWORD start) {
        callAt(start);
        callAt(start + 2000);
        ASSERT_EQ(phase, 2);
    }
};

TEST_F(FrameRateTemplate, HeadingEndsAtExactly2000ms) {
    callAt(5000);
    EXPECT_EQ(prepared, 1);
    EXPECT_EQ(phase, 1);
    callAt(6999);
    EXPECT_EQ(phase, 1);
    EXPECT_EQ(counter, -1);
    callAt(7000);
    EXPECT_EQ(phase, 2);
    EXPECT_EQ(counter, 0);
    EXPECT_EQ(t_start, 7000);
    EXPECT_EQ(framesDrawn, 0);
}

TEST_F(FrameRateTemplate, MeasuringClosesAtExactly10000msAndDrawsNothingThen) {
    startMeasuring(100);
    for (int i = 0; i < 455; ++i) callAt(2100 + static_cast<DWORD>(i) * 21);  // last at 11634
    callAt(12099);
    EXPECT_EQ(framesDrawn, 456);
    EXPECT_EQ(phase, 2);
    callAt(12100);
    EXPECT_EQ(framesDrawn, 456);
    EXPECT_EQ(counter, 45);  // 456 / 10
    EXPECT_DOUBLE_EQ(ratio, 1.0);
    EXPECT_EQ(phase, 0);
    EXPECT_EQ(stage, 6);
}

TEST_F(FrameRateTemplate, DividesByTheNominalTenSecondsEvenForSlowFrames) {
    startMeasuring(0);
    for (int i = 0; i < 25; ++i) callAt(2000 + static_cast<DWORD>(i) * 399);
    callAt(30000);
    EXPECT_EQ(counter, 2);
    EXPECT_DOUBLE_EQ(ratio, 2 / 45.0);
}

TEST_F(FrameRateTemplate, SurvivesTheWrapOfTheMillisecondClock) {
    const DWORD start = 0xFFFFFFFFu - 3000;
    startMeasuring(start);
    callAt(start + 2000 + 5000);  // past the wrap
    EXPECT_EQ(phase, 2);
    EXPECT_EQ(framesDrawn, 1);
    callAt(start + 2000 + 10000);
    EXPECT_EQ(phase, 0);
    EXPECT_EQ(stage, 6);
}

TEST(ElapsedTime, IsComputedModulo2To32) {
    t_start = static_cast<std::int32_t>(0xFFFFFF00u);
    t_end = 0x100;
    EXPECT_EQ(elapsedMs(), 0x200);
    t_start = 0x7FFFFFFF;
    t_end = static_cast<std::int32_t>(0x80000000u);
    EXPECT_EQ(elapsedMs(), 1);
}

class TitleSequence : public ::testing::Test {
protected:
    std::vector<std::uint32_t> frame = std::vector<std::uint32_t>(1280 * 720);
    void SetUp() override {
        vramptr = reinterpret_cast<std::uint8_t*>(frame.data());
        stage = 0;
        phase = 0;
        bEnter = 0;
        // The title draws from the generated images in the build folder.
        if (pic_wp.pixels == nullptr) pic_wp.load("wp_1280x720.png");
        if (pic_logo.pixels == nullptr) pic_logo.load("tx_logo.png");
        ASSERT_EQ(pic_wp.width, 1280);
        ASSERT_GE(pic_logo.height, 655);
    }
    void TearDown() override { vramptr = nullptr; }
    int callsUntilStageLeaves(int current) {
        int calls = 0;
        while (stage == current && calls < 100000) {
            fp_main[stage]();
            ++calls;
        }
        return calls;
    }
};

TEST_F(TitleSequence, FadesLast255FramesAndEnterDuringThemIsDiscarded) {
    fp0000();
    EXPECT_EQ(stage, 1);
    EXPECT_EQ(phase, 0);
    bEnter = 1;
    EXPECT_EQ(callsUntilStageLeaves(1), 255);
    bEnter = 1;
    EXPECT_EQ(callsUntilStageLeaves(2), 255);
    EXPECT_EQ(bEnter, 0);
    EXPECT_EQ(stage, 3);
    for (int i = 0; i < 10; ++i) fp0003();
    EXPECT_EQ(stage, 3);  // waits for a new Enter
    bEnter = 1;
    fp0003();
    EXPECT_EQ(stage, 4);
    EXPECT_EQ(phase, 255);
    EXPECT_EQ(bEnter, 0);
    EXPECT_EQ(callsUntilStageLeaves(4), 255);
    EXPECT_EQ(stage, 5);
    EXPECT_EQ(phase, 0);
}

TEST_F(TitleSequence, EnterReleasedAfterTheTitleStaysLatched) {
    stage = 4;
    phase = 255;
    bEnter = 1;
    callsUntilStageLeaves(4);
    EXPECT_EQ(bEnter, 1);
}

}  // namespace

namespace {

// The frame counts of the worked examples, through the template with the
// sprite stage's reference rate.
std::int32_t spriteFrames = 0;
double spriteRatio = 0;
void noFrame() {}
const FrameRateStage spriteLike{"Stage 5", "Draw Sprite Speed", &spriteFrames, &spriteRatio, 167.0,
                                nullptr,   false,               noFrame};

class ResultExamples : public FrameRateTemplate {
protected:
    void measure(int frames) {
        phase = 2;
        spriteFrames = 0;
        drive::setVirtualTime(0);
        t_start = 0;
        for (int i = 0; i < frames; ++i) runFrameRateStage(spriteLike);
        drive::setVirtualTime(10000);
        runFrameRateStage(spriteLike);
    }
};

TEST_F(ResultExamples, FramesInTheWindowGiveTheWholeRateAndItsRatio) {
    measure(1675);
    EXPECT_EQ(spriteFrames, 167);
    EXPECT_DOUBLE_EQ(spriteRatio, 1.0);
    measure(1679);
    EXPECT_EQ(spriteFrames, 167);
    measure(2004);
    EXPECT_EQ(spriteFrames, 200);
    EXPECT_NEAR(spriteRatio, 1.1976, 0.00005);
    measure(1669);
    EXPECT_EQ(spriteFrames, 166);
    EXPECT_NEAR(spriteRatio, 0.99401, 0.000005);
}

}  // namespace
