#include "cli/frame_driver.h"

#include <algorithm>

#include "cli/kernel_timing_capture.h"
#include "platform/drive_hooks.h"
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

FrameDriver::FrameDriver(DriverPlan plan, Progress* progress) : plan_(std::move(plan)), progress_(progress) {
    for (auto& f : results.frames) f.reserve(4096);
}

bool FrameDriver::selected(int stageNumber) const {
    return std::find(plan_.stages.begin(), plan_.stages.end(), stageNumber) != plan_.stages.end();
}

// A stage that has not begun (phase 0) and was not asked for hands over at
// once to the next one that was, or to the result screen.
void FrameDriver::skipUnselected() {
    if (phase != 0) return;
    while (stageNumberOf(stage) != 0 && !selected(stageNumberOf(stage))) stage = stage + 1;
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

void FrameDriver::beforeFrame() {
    if (closing_) return;
    const Clock::time_point now = Clock::now();
    recordFrame(now, drive::presentNanoseconds());

    if (stage == kTitleScreen && !enterPressed_) {
        drive::tapKey(VK_RETURN);
        enterPressed_ = true;
    }
    skipUnselected();
    reportStages(now);
    if (stage != kResultScreen) return;

    const bool lastPass = pass_ >= plan_.repeat;
    if (!collected_) {
        // Every selected stage of this pass has stored its figures; the
        // result screen draws them on this frame.
        collectFigures();
        collected_ = true;
        if (lastPass && plan_.captureLastFrame) {
            drive::setPresentHook([this](const drive::Frame& f) {
                frameWidth = f.width;
                frameHeight = f.height;
                lastFrame.assign(f.pixels, f.pixels + static_cast<std::ptrdiff_t>(f.width) * f.height);
            });
        }
        return;
    }
    if (lastPass) {
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
