// The three-phase template of the stages that count frames: a preparation
// call, a 2000 ms heading, and a measuring window in which every call draws
// and shows one test frame.
#pragma once

#include <cstdint>

struct FrameRateStage {
    const char* label;          // "Stage 1" ...
    const char* name;           // the test name under the label
    std::int32_t* frames;       // counts frames while measuring, then holds frames per second
    double* ratio;              // frames per second over the reference rate
    double reference;           // the reference machine's frames per second
    void (*prepare)();          // the stage's own preparation in phase 0
    bool headingOnClosingCall;  // the heading's last call draws the heading (else copies the wallpaper)
    void (*testFrame)();        // draws and shows one test frame
};

constexpr std::int32_t kHeadingMs = 2000;
// The measuring window and the divisor that turns its frame count into
// frames per second.  The window program always measures 10 s; the headless
// runner may choose another whole number of seconds.
extern std::int32_t measuringMs;

void runFrameRateStage(const FrameRateStage& s);
