// How long a run has left: from the stages' known durations before they
// have run, and from what each took in the passes so far once it has.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

// What a run will do, in the order it does it.
struct ProgressPlan {
    std::vector<int> stages;           // the selection, ascending: "Stage 7 (2 of 2)"
    std::vector<int> frameLoopStages;  // those the program's own frame loop measures
    std::vector<int> threadedStages;   // those also run with each of threadCounts
    std::vector<int> threadCounts;
    int timeSeconds = 10;              // the measuring window of Stages 1-6
    int passes = 1;                    // with passesAtMost, the most there may be
    bool passesAtMost = false;
    int leastPasses = 1;               // with passesAtMost, the fewest there will be
};

// One thing a pass does: a stage in the frame loop (threads 1) or a
// threaded run of Stage 7 or 8.
struct ProgressStep {
    int stage = 0;
    int threads = 1;
};

// The steps of one pass, in their order: for each stage its threaded runs
// (which come first, as it begins), then its frame-loop run.
std::vector<ProgressStep> stepsOf(const ProgressPlan& plan);

struct SecondsLeft {
    double least = 0.0;
    double most = 0.0;  // differs from least only when the passes are "at most"
};

class TimeLeft {
public:
    explicit TimeLeft(ProgressPlan plan);

    // `pass` from 1; `step` an index into stepsOf(plan), or the number of
    // steps when the pass has none left; `secondsIntoStep` how long it has
    // run (0 when it has not begun).
    SecondsLeft left(int pass, std::size_t step, double secondsIntoStep) const;

    // What a step took, for the passes after.
    void stepTook(const ProgressStep& step, double seconds);
    // The time between passes (the result screen and the title).
    void betweenPassesTook(double seconds);

    const std::vector<ProgressStep>& steps() const { return steps_; }

private:
    double expected(const ProgressStep& step) const;

    ProgressPlan plan_;
    std::vector<ProgressStep> steps_;
    std::map<std::pair<int, int>, double> took_;
    double betweenPasses_ = 1.0;  // until one was seen: the title's fades are quick
};

// "0:07", "12:34", "1:02:03".
std::string clockText(double seconds);
