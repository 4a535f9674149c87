// Progress of a run on standard error: a line as each stage starts and as
// it ends, and, on a terminal, a bar that moves while a stage runs.
#pragma once

#include <cstdio>
#include <string>

class Progress {
public:
    // `live` draws the bar (only sensible on a terminal); `timeSeconds` is
    // the measuring window, so the bar knows how long a frame-rate stage
    // takes; `passes` is the number of passes, or with `passesAtMost` the
    // most there may be.
    Progress(std::FILE* out, bool live, int timeSeconds, int passes, bool passesAtMost = false);

    void stageStarted(int pass, int stage);
    void stageFinished(int pass, int stage, double seconds);
    // Stage 7 or 8 with a team of `threads` threads, run apart from the frames.
    void threadedStarted(int pass, int stage, int threads);
    void threadedFinished(int pass, int stage, int threads, double seconds);
    // Called between frames; redraws the bar at most ten times a second.
    void tick(int stage, double secondsIntoStage, bool kernelsNext);

private:
    void clearBar();
    void prefix(int pass);
    // One line about a stage: "Stage N \"name\" <what>", after the pass prefix.
    void stageLine(int pass, int stage, const std::string& what);

    std::FILE* out_;
    bool live_;
    int timeSeconds_;
    int passes_;
    bool passesAtMost_;
    bool barShown_ = false;
    double lastDrawn_ = -1.0;
};
