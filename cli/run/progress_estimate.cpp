#include "cli/run/progress_estimate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "cli/run/figures.h"

namespace {

bool has(const std::vector<int>& list, int value) { return std::find(list.begin(), list.end(), value) != list.end(); }

// What a stage takes before it has run once: the heading and the measuring
// window of Stages 1-6; for Stages 7 and 8 the heading and their kernels on
// the 2-core machine the project is tested on (the README's figures).
double nominalSeconds(const ProgressStep& step, int timeSeconds) {
    if (step.stage <= kFrameRateStages) return 2.0 + timeSeconds;
    return step.stage == 7 ? 12.0 : 7.0;
}

}  // namespace

std::vector<ProgressStep> stepsOf(const ProgressPlan& plan) {
    std::vector<ProgressStep> steps;
    for (const int s : plan.stages) {
        if (has(plan.threadedStages, s))
            for (const int n : plan.threadCounts) steps.push_back({s, n});
        if (has(plan.frameLoopStages, s)) steps.push_back({s, 1});
    }
    return steps;
}

TimeLeft::TimeLeft(ProgressPlan plan) : plan_(std::move(plan)), steps_(stepsOf(plan_)) {}

double TimeLeft::expected(const ProgressStep& step) const {
    const auto it = took_.find({step.stage, step.threads});
    return it != took_.end() ? it->second : nominalSeconds(step, plan_.timeSeconds);
}

void TimeLeft::stepTook(const ProgressStep& step, double seconds) { took_[{step.stage, step.threads}] = seconds; }

void TimeLeft::betweenPassesTook(double seconds) { betweenPasses_ = seconds; }

SecondsLeft TimeLeft::left(int pass, std::size_t step, double secondsIntoStep) const {
    double thisPass = 0.0;
    for (std::size_t k = step; k < steps_.size(); ++k) {
        double s = expected(steps_[k]);
        // A step that runs longer than it did before is taken to end soon.
        if (k == step) s = std::max(0.0, s - secondsIntoStep);
        thisPass += s;
    }
    double wholePass = betweenPasses_;
    for (const ProgressStep& s : steps_) wholePass += expected(s);
    const int fewest = plan_.passesAtMost ? std::max(plan_.leastPasses, pass) : plan_.passes;
    return {thisPass + std::max(0, fewest - pass) * wholePass, thisPass + std::max(0, plan_.passes - pass) * wholePass};
}

std::string clockText(double seconds) {
    const long total = std::lround(std::max(0.0, seconds));
    char text[32];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    return text;
}
