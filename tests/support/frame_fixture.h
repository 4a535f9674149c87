// A frame buffer and a window-sized destination, as the window procedure
// sets them up, for driving stage routines call by call without a window.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/win32.h"

class StageFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Window row y of the destination, as the window would show it.
    std::uint32_t* windowRow(int y) const;
    // Frame-buffer pixel at column x of GDI row y (row 0 at the top).
    std::uint32_t& framePixel(int x, int y) const;
    // Runs `routine` once in the measuring phase, the clock 1 ms after the
    // measuring window opened.
    void measureOnce(void (*routine)());

    HDC windowDC = nullptr;
    HBITMAP windowBitmap = nullptr;
    std::uint32_t* windowPixels = nullptr;
};

// Loads the three generated images from the build folder once.
void loadProgramPictures();
