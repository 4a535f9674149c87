#include "cli/run/progress.h"

#include <algorithm>

#include "cli/run/figures.h"

namespace {

std::string oneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

}  // namespace

Progress::Progress(std::FILE* out, bool live, int timeSeconds, int passes, bool passesAtMost)
    : out_(out), live_(live), timeSeconds_(timeSeconds), passes_(passes), passesAtMost_(passesAtMost) {}

void Progress::prefix(int pass) {
    if (passesAtMost_)
        std::fprintf(out_, "[pass %d, at most %d] ", pass, passes_);
    else if (passes_ > 1)
        std::fprintf(out_, "[pass %d/%d] ", pass, passes_);
}

void Progress::clearBar() {
    if (!barShown_) return;
    std::fputs("\r\033[K", out_);
    barShown_ = false;
}

void Progress::stageLine(int pass, int stage, const std::string& what) {
    clearBar();
    prefix(pass);
    std::fprintf(out_, "Stage %d \"%s\" %s\n", stage, stageName(stage), what.c_str());
    std::fflush(out_);
}

void Progress::stageStarted(int pass, int stage) {
    if (out_ == nullptr) return;
    stageLine(pass, stage, "started");
    lastDrawn_ = -1.0;
}

void Progress::stageFinished(int pass, int stage, double seconds) {
    if (out_ == nullptr) return;
    stageLine(pass, stage, "done in " + oneDecimal(seconds) + " s");
}

void Progress::threadedStarted(int pass, int stage, int threads) {
    if (out_ == nullptr) return;
    stageLine(pass, stage, "with " + std::to_string(threads) + " threads started");
}

void Progress::threadedFinished(int pass, int stage, int threads, double seconds) {
    if (out_ == nullptr) return;
    stageLine(pass, stage, "with " + std::to_string(threads) + " threads done in " + oneDecimal(seconds) + " s");
}

void Progress::tick(int stage, double secondsIntoStage, bool kernelsNext) {
    if (out_ == nullptr || !live_) return;
    if (!kernelsNext && lastDrawn_ >= 0.0 && secondsIntoStage - lastDrawn_ < 0.1) return;
    lastDrawn_ = secondsIntoStage;
    constexpr int kWidth = 30;
    if (stage <= kFrameRateStages) {
        const double total = 2.0 + timeSeconds_;
        const int filled = std::clamp(static_cast<int>(secondsIntoStage / total * kWidth), 0, kWidth);
        std::fprintf(out_, "\r\033[K  Stage %d [%.*s%*s] %.1f / %.0f s", stage, filled,
                     "##############################", kWidth - filled, "", secondsIntoStage, total);
    } else {
        std::fprintf(out_, "\r\033[K  Stage %d %s %.1f s", stage,
                     kernelsNext ? "running its kernels (the display stays still)..." : "heading", secondsIntoStage);
    }
    barShown_ = true;
    std::fflush(out_);
}
