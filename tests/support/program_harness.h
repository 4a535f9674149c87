// Runs the real program from wWinMain to exit inside the test process, on
// SDL's offscreen driver, with the virtual clock and a script that acts
// before each frame.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/linux/drive_hooks.h"

struct ProgramHarness {
    // What the script sees and does before frame `frame` (0 = the first
    // frame of the message loop).
    using Script = std::function<void(long frame)>;

    ProgramHarness();
    ~ProgramHarness();

    // Runs wWinMain with the script; returns its exit code.
    int run(Script script);

    // The last frame presented, top row first; kept only while keepLastFrame
    // is set (copying every frame of a run costs more than many tests).
    bool keepLastFrame = false;
    std::vector<std::uint32_t> lastFrame;
    int frameWidth = 0;
    int frameHeight = 0;
    long presents = 0;
};

// Puts every process-wide variable of the program back to its start value
// and releases what an earlier in-process run made.
void resetProgramState();
