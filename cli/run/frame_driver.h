// Drives the real program through its frame loop the way a person at the
// keyboard would, but only through the selected stages: presses Enter at
// the title, steps over the stages that were not asked for, reads every
// figure when the result screen comes up, goes round again for each
// repeat (with --repeat auto until every figure has settled), and closes
// the window at the end, or keeps the result screen until the person
// watching is done.  Install beforeFrame() as the platform's frame hook.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cli/run/progress.h"
#include "cli/run/run_config.h"
#include "cli/run/run_results.h"
#include "kernels/threaded_kernels.h"

// Measures Stage 7 or 8 with a team of threads; tests may swap in a quick
// stand-in.
extern ThreadedStage (*measureThreadedStage)(int stage, int threads);

struct DriverPlan {
    std::vector<int> stages;      // 1..8, ascending
    int repeat = 1;               // the passes when the rule is not automatic
    RepeatRule repeatRule;
    bool captureLastFrame = false;  // keep the result screen of the last pass
    // After the last pass, leave the result screen up until Enter is
    // pressed in the window, the window is closed or personDone says so.
    bool keepResultScreen = false;
    // Stages 7 and 8 also run, once a pass as each begins (or would begin,
    // when not in `stages`), with each of these thread counts (all above 1).
    std::vector<int> threadedStages;
    std::vector<int> threadCounts;
};

class FrameDriver {
public:
    FrameDriver(DriverPlan plan, Progress* progress);

    void beforeFrame();
    bool finished() const { return closing_; }
    // True once the last pass the plan asks for has been collected.
    bool complete() const { return complete_; }

    // With keepResultScreen: told once when the result screen stays, then
    // asked before each frame whether the person is done with it.
    std::function<void()> resultScreenKept;
    std::function<bool()> personDone;

    RunResults results;
    std::string threadedProblem;  // why a threaded stage could not be measured; the run then ends
    std::vector<std::uint32_t> lastFrame;  // top row first
    int frameWidth = 0;
    int frameHeight = 0;

private:
    using Clock = std::chrono::steady_clock;

    bool selected(int stageNumber) const;
    void skipUnselected();
    void recordFrame(Clock::time_point now, std::int64_t presentNs);
    void reportStages(Clock::time_point now);
    void collectFigures();
    void measureThreaded(int stageNumber);
    bool isLastPass() const;

    DriverPlan plan_;
    Progress* progress_;
    int pass_ = 1;
    bool enterPressed_ = false;
    bool collected_ = false;
    bool closing_ = false;
    bool lastPass_ = false;  // decided when the pass's figures are collected
    bool complete_ = false;
    bool waiting_ = false;   // the result screen stays until the person is done
    int threadedPass_[2] = {0, 0};  // the pass in which Stages 7 and 8 last ran threaded

    // The frame before this one, to time it.
    bool havePrevious_ = false;
    int previousStage_ = 0;
    int previousPhase_ = 0;
    Clock::time_point previousStart_;
    std::int64_t previousPresentNs_ = 0;

    // The measuring stage in progress, for the progress lines.
    int runningStage_ = 0;
    Clock::time_point runningSince_;
};
