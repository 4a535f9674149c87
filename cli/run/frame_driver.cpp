#include "cli/run/frame_driver.h"

#include <algorithm>

#include "cli/run/kernel_timing_capture.h"
#include "cli/run/settling.h"
#include "platform/linux/drive_hooks.h"
#include "stages/stage_state.h"

namespace {

// Indices of the stage table: the title screen, the first measuring stage
// and the result screen.
constexpr int kTitleScreen = 3;
constexpr int kFirstMeasuring = 5;
constexpr int kResultScreen = 13;

int stageNumberOf(int index) { return index >= kFirstMeasuring && index < kResultScreen ? index - 4 : 0; }

double secondsBetween(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

}  // namespace

ThreadedStage (*measureThreadedStage)(int stage, int threads) = measureStageThreaded;

FrameDriver::FrameDriver(DriverPlan plan, Progress* progress) : plan_(std::move(plan)), progress_(progress) {
    for (auto& f : results.frames) f.reserve(4096);
    for (const int threads : plan_.threadCounts) results.threaded.push_back(ThreadedResults{threads, {}, {}, {}, {}});
}

bool FrameDriver::selected(int stageNumber) const {
    return std::find(plan_.stages.begin(), plan_.stages.end(), stageNumber) != plan_.stages.end();
}

// A stage that has not begun (phase 0) and was not asked for hands over at
// once to the next one that was, or to the result screen.
// Their threaded runs are made on the way.
void FrameDriver::skipUnselected() {
    if (phase != 0) return;
    while (stageNumberOf(stage) != 0 && !selected(stageNumberOf(stage)) && !closing_) {
        measureThreaded(stageNumberOf(stage));
        stage = stage + 1;
    }
}

// Runs the stage with each thread count, once a pass; a no-op for stages
// without threaded runs.  The frame loop waits meanwhile, as it does for the
// stage's own kernels.
void FrameDriver::measureThreaded(int stageNumber) {
    const auto& stages = plan_.threadedStages;
    if (closing_ || std::find(stages.begin(), stages.end(), stageNumber) == stages.end()) return;
    int& donePass = threadedPass_[stageNumber - 7];
    if (donePass == pass_) return;
    donePass = pass_;
    std::vector<int> indices;
    for (int i = 0; i < kFigureTotal; ++i)
        if (figure(i).stage == stageNumber) indices.push_back(i);

    for (ThreadedResults& r : results.threaded) {
        if (progress_) progress_->threadedStarted(pass_, stageNumber, r.threads);
        const Clock::time_point start = Clock::now();
        const ThreadedStage measured = measureThreadedStage(stageNumber, r.threads);
        std::string problem = measured.problem;
        if (problem.empty() && measured.figures.size() != indices.size())
            problem = "it gave " + std::to_string(measured.figures.size()) + " figures instead of " +
                      std::to_string(indices.size());
        if (!problem.empty()) {
            threadedProblem = "Stage " + std::to_string(stageNumber) + " with " + std::to_string(r.threads) +
                              " threads could not be measured: " + problem;
            closing_ = true;
            drive::requestClose();
            return;
        }
        r.cpus = measured.cpus;
        for (std::size_t k = 0; k < indices.size(); ++k) {
            const TeamResult& f = measured.figures[k];
            r.samples[indices[k]].push_back(f.figure);
            r.kernelSeconds[indices[k]].push_back(f.bestSeconds);
            r.perThread[indices[k]].push_back(f.perThread);
        }
        if (progress_) progress_->threadedFinished(pass_, stageNumber, r.threads, secondsBetween(start, Clock::now()));
    }
}

// The frame that just ended was a test frame if its stage was measuring and
// is still current (the closing call hands over and draws nothing).
void FrameDriver::recordFrame(Clock::time_point now, std::int64_t presentNs) {
    const int number = stageNumberOf(previousStage_);
    if (havePrevious_ && number >= 1 && number <= kFrameRateStages && previousPhase_ == 2 && stage == previousStage_) {
        results.frames[number - 1].push_back(FrameTiming{
            std::chrono::duration_cast<std::chrono::nanoseconds>(now - previousStart_).count(),
            presentNs - previousPresentNs_});
    }
    havePrevious_ = true;
    previousStage_ = stage;
    previousPhase_ = phase;
    previousStart_ = now;
    previousPresentNs_ = presentNs;
}

void FrameDriver::reportStages(Clock::time_point now) {
    const int number = stageNumberOf(stage);
    if (number != runningStage_) {
        if (runningStage_ != 0 && progress_) progress_->stageFinished(pass_, runningStage_, secondsBetween(runningSince_, now));
        runningStage_ = number;
        runningSince_ = now;
        if (number != 0 && progress_) progress_->stageStarted(pass_, number);
    } else if (number != 0 && progress_) {
        progress_->tick(number, secondsBetween(runningSince_, now), number > kFrameRateStages && phase == 2);
    }
}

void FrameDriver::collectFigures() {
    for (int i = 0; i < kFigureTotal; ++i) {
        if (!selected(figure(i).stage)) continue;
        results.samples[i].push_back(figureValue(i));
        if (figure(i).kind != FigureKind::FrameRate)
            results.kernelSeconds[i].push_back(KernelTimingCapture::bestSeconds(i));
    }
    results.passes = pass_;
}

// Decided after the pass's figures are in: threaded runs go round with the
// passes, so their figures count for settling too.
bool FrameDriver::isLastPass() const {
    const RepeatRule& rule = plan_.repeatRule;
    if (!rule.automatic) return pass_ >= plan_.repeat;
    if (pass_ >= rule.maxRepeat) return true;
    return pass_ >= kMinAutoRepeat && unsettledFigures(results, rule.settlePercent).empty();
}

void FrameDriver::beforeFrame() {
    if (closing_) return;
    if (waiting_) {
        // Enter in the window takes the result screen back to the title:
        // caught as it is released, or when the screen has gone.
        if (bEnter != 0 || stage != kResultScreen || (personDone && personDone())) {
            closing_ = true;
            drive::requestClose();
        }
        return;
    }
    const Clock::time_point now = Clock::now();
    recordFrame(now, drive::presentNanoseconds());

    if (stage == kTitleScreen && !enterPressed_) {
        drive::tapKey(VK_RETURN);
        enterPressed_ = true;
    }
    skipUnselected();
    if (closing_) return;
    reportStages(now);
    if (phase == 0 && stageNumberOf(stage) != 0) measureThreaded(stageNumberOf(stage));
    if (closing_ || stage != kResultScreen) return;

    if (!collected_) {
        // Every selected stage of this pass has stored its figures; the
        // result screen draws them on this frame.
        collectFigures();
        collected_ = true;
        lastPass_ = isLastPass();
        if (lastPass_ && plan_.captureLastFrame) {
            drive::setPresentHook([this](const drive::Frame& f) {
                frameWidth = f.width;
                frameHeight = f.height;
                lastFrame.assign(f.pixels, f.pixels + static_cast<std::ptrdiff_t>(f.width) * f.height);
            });
        }
        return;
    }
    if (lastPass_) {
        complete_ = true;
        if (plan_.keepResultScreen) {
            waiting_ = true;
            if (resultScreenKept) resultScreenKept();
            return;
        }
        closing_ = true;
        drive::requestClose();
        return;
    }
    // Enter on the result screen returns to the title for the next pass.
    drive::tapKey(VK_RETURN);
    ++pass_;
    collected_ = false;
    enterPressed_ = false;
}
