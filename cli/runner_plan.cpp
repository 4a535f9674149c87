#include "cli/runner_plan.h"

#include <algorithm>

#include "cli/run/figures.h"

namespace {

bool has(const std::vector<int>& list, int value) { return std::find(list.begin(), list.end(), value) != list.end(); }

}  // namespace

DriverPlan planOf(const Options& options) {
    DriverPlan plan;
    for (const int s : options.stages) {
        const bool kernelStage = s == 7 || s == 8;
        if (!kernelStage || has(options.threads, 1)) plan.stages.push_back(s);
        if (kernelStage) plan.threadedStages.push_back(s);
    }
    for (const int n : options.threads)
        if (n > 1) plan.threadCounts.push_back(n);
    if (plan.threadCounts.empty()) plan.threadedStages.clear();
    plan.repeat = options.repeat;
    plan.repeatRule = options.repeatRule;
    plan.captureLastFrame = !options.screenshotPath.empty();
    return plan;
}

bool sharesPlannedFigure(const Options& options, const SavedRun& saved) {
    const DriverPlan plan = planOf(options);
    for (int i = 0; i < kFigureTotal; ++i) {
        const int stage = figure(i).stage;
        if (has(plan.stages, stage) && saved.find(figure(i).id, 1) != nullptr) return true;
        if (!has(plan.threadedStages, stage)) continue;
        for (const int threads : plan.threadCounts)
            if (saved.find(figure(i).id, threads) != nullptr) return true;
    }
    return false;
}

ProgressPlan progressPlanOf(const Options& options, const DriverPlan& plan) {
    ProgressPlan p;
    p.stages = options.stages;
    p.frameLoopStages = plan.stages;
    p.threadedStages = plan.threadedStages;
    p.threadCounts = plan.threadCounts;
    p.timeSeconds = options.timeSeconds;
    p.passes = options.repeat;
    p.passesAtMost = options.repeatRule.automatic;
    p.leastPasses = options.repeatRule.automatic ? std::min(kMinAutoRepeat, options.repeat) : options.repeat;
    return p;
}

