// A whole run in-process on the virtual clock: title, Stages 1-8 with quick
// stand-ins for the kernels, the result screen, Enter back to the title.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "stages/kernel_stages.h"
#include "stages/result_screen.h"
#include "stages/stage_state.h"
#include "support/program_harness.h"
#include "support/quick_kernels.h"

namespace {

std::string percent(double ratio) {
    char text[64];
    std::snprintf(text, sizeof text, "%f\x81\x93)", ratio * 100.0);
    return text;
}

TEST(FullRun, TitleToResultsAndBackWithEveryFigurePrinted) {
    quick::Kernels standIns;  // each returns its place in the tables, times 1000
    ProgramHarness program;
    std::vector<int> stagesSeen;
    std::vector<std::string> printed;
    bool sawResults = false;
    bool backAtTitle = false;
    const int exitCode = program.run([&](long) {
        if (stagesSeen.empty() || stagesSeen.back() != stage) stagesSeen.push_back(stage);
        if (stage == 3 && !sawResults) drive::tapKey(VK_RETURN);
        if (stage == 13 && !sawResults) {
            sawResults = true;
            for (int i = 0; i < kFrameRateLines; ++i) printed.emplace_back(formatFrameRateLine(i));
            for (int i = 0; i < kFigureLines; ++i) printed.emplace_back(formatFigureLine(i));
            drive::tapKey(VK_RETURN);
        }
        if (sawResults && stage == 3) {
            backAtTitle = true;
            drive::requestClose();
        }
        drive::advanceVirtualTime(100);  // 100 ms a frame
    });
    EXPECT_EQ(exitCode, 0);
    ASSERT_TRUE(sawResults);
    EXPECT_TRUE(backAtTitle);
    const std::vector<int> order{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 0, 1, 2, 3};
    EXPECT_EQ(stagesSeen, order);

    // The closing heading call opens the window at t; frames follow at
    // t + 100 ... t + 9900: 99 frames, 9 frames per second.
    for (std::int32_t rate : {FontSpeed1, FontSpeed2, FastBltSpeed, StretchBltSpeed, DrawSpriteSpeed,
                              DrawSpriteAlphaSpeed})
        EXPECT_EQ(rate, 9);
    const double references[6] = {45.0, 17.0, 190.0, 74.0, 167.0, 121.0};
    const char* labels[6] = {"Font Speed 1 = ", "Font Speed 2 = ", "CG Draw Speed (BitBlt)= ",
                             "CG Draw Speed (StretchBlt)= ", "Draw Sprite Speed = ", "Draw Sprite Speed with Alpha = "};
    ASSERT_EQ(printed.size(), 19u);
    for (int i = 0; i < 6; ++i) {
        char expected[128];
        std::snprintf(expected, sizeof expected, "%s9 fps (%s", labels[i], percent(9 / references[i]).c_str());
        EXPECT_EQ(printed[static_cast<std::size_t>(i)], expected);
    }

    const double memoryReferences[9] = {52798.950208, 63056.225648, 73084.911249, 42528.537521, 42520.193459,
                                        42536.089733, 30331.686171, 34220.710213, 34731.349282};
    const double calcReferences[4] = {806451612.0, 806451612.0, 806451612.0, 377358490.0};
    const double* figures[13] = {&read1, &read2, &read3, &write1, &write2, &write3, &copy1,
                                 &copy2, &copy3, &calc_add, &calc_sub, &calc_mul, &calc_div};
    for (int i = 0; i < 13; ++i) {
        const double reference = i < 9 ? memoryReferences[i] : calcReferences[i - 9];
        EXPECT_EQ(*figures[i], 1000.0 * (i + 1));
        char number[64];
        std::snprintf(number, sizeof number, "= %f ", 1000.0 * (i + 1));
        const std::string& line = printed[static_cast<std::size_t>(6 + i)];
        EXPECT_NE(line.find(number), std::string::npos) << line;
        const std::string ratio = percent(1000.0 * (i + 1) / reference);
        EXPECT_NE(line.find(ratio), std::string::npos) << line;
    }
}

}  // namespace
