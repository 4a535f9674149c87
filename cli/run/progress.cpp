#include "cli/run/progress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "cli/run/figures.h"

namespace {

std::string oneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

Progress::Clock steadySeconds() {
    const auto start = std::chrono::steady_clock::now();
    return [start] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
}

// The terminal's width: a longer status line would wrap, and "\r" would
// then redraw only its last part.
std::size_t terminalColumns(std::FILE* out) {
    winsize size{};
    if (out != nullptr && ioctl(fileno(out), TIOCGWINSZ, &size) == 0 && size.ws_col >= 20) return size.ws_col;
    return 80;
}

}  // namespace

Progress::Progress(std::FILE* out, bool live, ProgressPlan plan, Clock clock)
    : out_(out), live_(live), plan_(std::move(plan)), clock_(clock ? std::move(clock) : steadySeconds()),
      timeLeft_(plan_) {
    if (live_) columns_ = terminalColumns(out_);
}

void Progress::prefix(int pass) {
    if (plan_.passesAtMost)
        std::fprintf(out_, "[pass %d, at most %d] ", pass, plan_.passes);
    else if (plan_.passes > 1)
        std::fprintf(out_, "[pass %d/%d] ", pass, plan_.passes);
}

void Progress::clearLine() {
    if (!lineShown_) return;
    std::fputs("\r\033[K", out_);
    lineShown_ = false;
}

void Progress::stageLine(int pass, int stage, const std::string& what) {
    clearLine();
    prefix(pass);
    std::fprintf(out_, "Stage %d \"%s\" %s\n", stage, stageName(stage), what.c_str());
    std::fflush(out_);
}

void Progress::say(const std::string& text) {
    if (out_ == nullptr) return;
    clearLine();
    std::fprintf(out_, "%s\n", text.c_str());
    std::fflush(out_);
}

std::size_t Progress::indexOf(const ProgressStep& step) const {
    const std::vector<ProgressStep>& steps = timeLeft_.steps();
    for (std::size_t k = 0; k < steps.size(); ++k)
        if (steps[k].stage == step.stage && steps[k].threads == step.threads) return k;
    return kNone;
}

// The first step of a new pass: what lay between the passes is known now.
void Progress::enterPass(int pass) {
    if (pass == pass_) return;
    timeLeft_.betweenPassesTook(clock_() - lastEnd_);
    pass_ = pass;
    nextStep_ = 0;
}

void Progress::open(const ProgressStep& step) {
    open_ = indexOf(step);
    openSince_ = clock_();
    kernel_ = kernels_ = 0;
}

void Progress::closeOpen() {
    if (open_ == kNone) return;
    lastEnd_ = clock_();
    timeLeft_.stepTook(timeLeft_.steps()[open_], lastEnd_ - openSince_);
    nextStep_ = open_ + 1;
    open_ = kNone;
}

void Progress::stageStarted(int pass, int stage) {
    if (out_ == nullptr) return;
    enterPass(pass);
    closeOpen();
    open({stage, 1});
    frameLoopStage_ = stage;
    secondsIntoStage_ = 0.0;
    kernelsNext_ = false;
    stageLine(pass, stage, "started");
    lastDrawn_ = -1.0;
}

void Progress::stageFinished(int pass, int stage, double seconds) {
    if (out_ == nullptr) return;
    closeOpen();
    frameLoopStage_ = 0;
    stageLine(pass, stage, "done in " + oneDecimal(seconds) + " s");
}

void Progress::threadedStarted(int pass, int stage, int threads) {
    if (out_ == nullptr) return;
    enterPass(pass);
    // The stage's threaded runs come as it begins: its frame-loop run waits
    // for them and is timed from when they end.
    if (open_ != kNone && open_ == indexOf({stage, 1}))
        open_ = kNone;
    else
        closeOpen();
    open({stage, threads});
    stageLine(pass, stage, "with " + std::to_string(threads) + " threads started");
    draw();
}

void Progress::threadedFinished(int pass, int stage, int threads, double seconds) {
    if (out_ == nullptr) return;
    closeOpen();
    if (frameLoopStage_ == stage) open({stage, 1});
    stageLine(pass, stage, "with " + std::to_string(threads) + " threads done in " + oneDecimal(seconds) + " s");
}

void Progress::kernelStarted(int index, int count) {
    if (out_ == nullptr) return;
    kernel_ = index + 1;
    kernels_ = count;
    draw();
}

void Progress::tick(int stage, double secondsIntoStage, bool kernelsNext) {
    if (out_ == nullptr || !live_) return;
    secondsIntoStage_ = secondsIntoStage;
    kernelsNext_ = kernelsNext;
    if (stage != frameLoopStage_) return;
    const double now = clock_();
    if (!kernelsNext && lastDrawn_ >= 0.0 && now - lastDrawn_ < 0.1) return;
    draw();
}

std::string Progress::statusLine() {
    const double now = clock_();
    const std::size_t step = open_ != kNone ? open_ : nextStep_;
    const SecondsLeft left = timeLeft_.left(pass_, step, open_ != kNone ? now - openSince_ : 0.0);
    char part[160];
    // The pass as the stage lines give it, then where in the selection.
    std::string head;
    if (plan_.passesAtMost) {
        std::snprintf(part, sizeof part, "[pass %d, at most %d] ", pass_, plan_.passes);
        head = part;
    } else if (plan_.passes > 1) {
        std::snprintf(part, sizeof part, "[pass %d/%d] ", pass_, plan_.passes);
        head = part;
    }
    std::string name, detail;
    if (open_ == kNone) {
        name = "between stages";
    } else {
        const ProgressStep& s = timeLeft_.steps()[open_];
        const auto place = std::find(plan_.stages.begin(), plan_.stages.end(), s.stage) - plan_.stages.begin();
        std::snprintf(part, sizeof part, "stage %d of %zu, ", static_cast<int>(place + 1), plan_.stages.size());
        head += part;
        name = stageName(s.stage);
        if (s.threads > 1) {
            std::snprintf(part, sizeof part, " with %d threads", s.threads);
            name += part;
        }
        if (kernel_ > 0)
            std::snprintf(part, sizeof part, ", kernel %d/%d", kernel_, kernels_);
        else if (s.threads > 1)
            std::snprintf(part, sizeof part, ", preparing its threads");
        else if (s.stage <= kFrameRateStages)
            std::snprintf(part, sizeof part, ": %d/%d s", static_cast<int>(secondsIntoStage_), 2 + plan_.timeSeconds);
        else
            std::snprintf(part, sizeof part, "%s", kernelsNext_ ? ": kernels next" : ": heading");
        detail = part;
    }
    if (plan_.passesAtMost && left.most > left.least + 0.5)
        std::snprintf(part, sizeof part, " | %s in, %s to %s left", clockText(now).c_str(),
                      clockText(left.least).c_str(), clockText(left.most).c_str());
    else
        std::snprintf(part, sizeof part, " | %s in, ~%s left", clockText(now).c_str(), clockText(left.least).c_str());
    const std::string tail = part;
    // On a narrow terminal the stage's name gives way first: the rest says
    // how far the run is.
    const std::size_t room = columns_ - 1;
    const std::size_t fixed = head.size() + detail.size() + tail.size();
    if (fixed + name.size() > room && room > fixed + 4) name = name.substr(0, room - fixed - 3) + "...";
    std::string line = head + name + detail + tail;
    if (line.size() > room) line.resize(room);
    return line;
}

void Progress::draw() {
    if (out_ == nullptr || !live_) return;
    lastDrawn_ = clock_();
    std::fprintf(out_, "\r\033[K%s", statusLine().c_str());
    lineShown_ = true;
    std::fflush(out_);
}
