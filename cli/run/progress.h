// Progress of a run on standard error: a line as each stage starts and as
// it ends, and, on a terminal, a status line redrawn in place that says
// how far the whole run is and how long it has left.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

#include "cli/run/progress_estimate.h"

class Progress {
public:
    // Seconds since the run began; the steady clock unless a test gives one.
    using Clock = std::function<double()>;

    // `live` draws the status line (only sensible on a terminal).
    Progress(std::FILE* out, bool live, ProgressPlan plan, Clock clock = {});

    void stageStarted(int pass, int stage);
    void stageFinished(int pass, int stage, double seconds);
    // Stage 7 or 8 with a team of `threads` threads, run apart from the frames.
    void threadedStarted(int pass, int stage, int threads);
    void threadedFinished(int pass, int stage, int threads, double seconds);
    // Before each kernel of the stage running (`index` from 0, of `count`),
    // outside the kernel's own timing: the status line moves on.
    void kernelStarted(int index, int count);
    // Called between frames; redraws the status line at most ten times a second.
    void tick(int stage, double secondsIntoStage, bool kernelsNext);
    // `text` on a line of its own, the status line cleared first.
    void say(const std::string& text);

    // The status line as it would be drawn now, within the terminal's
    // width (the stage's name is shortened first); for tests too.
    std::string statusLine();

private:
    void clearLine();
    void prefix(int pass);
    // One line about a stage: "Stage N \"name\" <what>", after the pass prefix.
    void stageLine(int pass, int stage, const std::string& what);
    void draw();
    void enterPass(int pass);
    void open(const ProgressStep& step);
    void closeOpen();
    std::size_t indexOf(const ProgressStep& step) const;

    std::FILE* out_;
    bool live_;
    ProgressPlan plan_;
    Clock clock_;
    TimeLeft timeLeft_;
    std::size_t columns_ = 80;
    bool lineShown_ = false;
    double lastDrawn_ = -1.0;

    // Where the run stands.
    int pass_ = 1;
    std::size_t open_ = kNone;       // the step running, an index into timeLeft_.steps()
    double openSince_ = 0.0;
    std::size_t nextStep_ = 0;       // when none runs: the one to come
    double lastEnd_ = 0.0;           // when the last step ended
    int frameLoopStage_ = 0;         // the stage the frame loop runs, 0 for none
    double secondsIntoStage_ = 0.0;  // of the frame loop's stage
    bool kernelsNext_ = false;
    int kernel_ = 0;                 // the kernel running, from 1; 0 for none
    int kernels_ = 0;

    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
};
