#include "cli/results/saved_run.h"

#include <algorithm>
#include <map>
#include <set>

#include "cli/run/statistics.h"
#include "cli/run/thread_counts.h"

namespace {

using KeyOrder = std::pair<std::string, int>;

// False for NaN as well.
bool plausible(double value) { return value >= 0.0 && value <= kLargestFigure; }

std::string figureName(const SavedFigure& f) {
    std::string name = "'";
    name += labelWithThreads(f.id, f.threads);
    name += '\'';
    return name;
}

std::string figureProblem(const SavedFigure& f) {
    if (f.id.empty()) return "a result has no id";
    if (f.stage < 0 || f.stage > 8) return "result " + figureName(f) + " names no stage from 1 to 8";
    if (f.threads < 1 || f.threads > kMaxThreads)
        return "result " + figureName(f) + " has a thread count outside 1 to " + std::to_string(kMaxThreads);
    if (f.samples.size() > kMaxSamplesPerFigure)
        return "result " + figureName(f) + " has more than " + std::to_string(kMaxSamplesPerFigure) + " samples";
    if (!std::all_of(f.samples.begin(), f.samples.end(), plausible))
        return "result " + figureName(f) + " has a sample that is negative or beyond any machine";
    if (!plausible(f.median)) return "result " + figureName(f) + " has a median that is negative or beyond any machine";
    if (!plausible(f.reference))
        return "result " + figureName(f) + " has a reference figure that is negative or beyond any machine";
    if (f.hasInterval && (!plausible(f.low) || !plausible(f.high) || f.low > f.high ||
                          !(f.coverage >= 0.0 && f.coverage <= 1.0)))
        return "result " + figureName(f) + " has an interval of the median that is no interval";
    // Reports draw the median and the interval as percentages of the reference.
    const double top = f.hasInterval ? std::max(f.median, f.high) : f.median;
    if (f.reference > 0.0 && !plausible(top / f.reference * 100.0))
        return "result " + figureName(f) + " is beyond any percentage of its reference figure";
    return "";
}

}  // namespace

std::vector<FigureKey> figureKeysOf(const std::vector<SavedRun>& runs) {
    std::vector<FigureKey> keys;
    std::set<KeyOrder> seen;
    for (const SavedRun& run : runs)
        for (const SavedFigure& f : run.figures)
            if (seen.emplace(f.id, f.threads).second) keys.push_back({f.id, f.threads});
    return keys;
}

FigureTable::FigureTable(const std::vector<SavedRun>& runs) : runs_(runs.size()) {
    std::map<KeyOrder, std::size_t> rows;
    std::vector<std::pair<std::size_t, const SavedFigure*>> placed;  // row of each figure, run by run
    std::vector<std::size_t> runStarts;
    for (const SavedRun& run : runs) {
        runStarts.push_back(placed.size());
        for (const SavedFigure& f : run.figures) {
            const auto [it, added] = rows.emplace(KeyOrder(f.id, f.threads), keys_.size());
            if (added) keys_.push_back({f.id, f.threads});
            placed.emplace_back(it->second, &f);
        }
    }
    runStarts.push_back(placed.size());
    cells_.assign(keys_.size() * runs_, nullptr);
    for (std::size_t r = 0; r < runs_; ++r)
        for (std::size_t i = runStarts[r]; i < runStarts[r + 1]; ++i) {
            const SavedFigure*& cell = cells_[placed[i].first * runs_ + r];
            if (cell == nullptr) cell = placed[i].second;  // as find(): the first of a figure held twice
        }
}

const SavedFigure* FigureTable::any(std::size_t row) const {
    for (std::size_t r = 0; r < runs_; ++r)
        if (const SavedFigure* f = at(row, r)) return f;
    return nullptr;
}

std::string runProblem(const SavedRun& run) {
    if (run.figures.size() > kMaxFiguresPerRun)
        return "it holds more than " + std::to_string(kMaxFiguresPerRun) + " results";
    if (run.warnings.size() > kMaxWarningsPerRun)
        return "it holds more than " + std::to_string(kMaxWarningsPerRun) + " warnings";
    if (run.system.size() > kMaxSystemFactsPerRun)
        return "its system description has more than " + std::to_string(kMaxSystemFactsPerRun) + " entries";
    std::set<KeyOrder> seen;
    std::size_t samples = 0;
    for (const SavedFigure& f : run.figures) {
        if (const std::string problem = figureProblem(f); !problem.empty()) return problem;
        if (!seen.emplace(f.id, f.threads).second) return "it holds result " + figureName(f) + " twice";
        samples += f.samples.size();
    }
    if (samples > kMaxSamplesPerRun)
        return "it holds more than " + std::to_string(kMaxSamplesPerRun) + " samples";
    return "";
}

std::string labelWithThreads(const std::string& label, int threads) {
    return threads == 1 ? label : label + ", " + std::to_string(threads) + " threads";
}

std::string notDirectlyComparable(const SavedRun& a, const SavedRun& b) {
    std::string reason;
    auto differ = [&](const std::string& x, const std::string& y, const std::string& what) {
        if (x.empty() || y.empty() || x == y) return;
        reason += (reason.empty() ? "" : "; ") + what + " " + x + " and " + y;
    };
    differ(a.architecture, b.architecture, "measured on");
    differ(a.benchmarkVersion, b.benchmarkVersion, "measured by benchmark versions");
    return reason;
}

bool intervalsApart(const SavedFigure& a, const SavedFigure& b) {
    return a.hasInterval && b.hasInterval && intervalsApart(a.low, a.high, b.low, b.high);
}

void setSamples(SavedFigure& figure, std::vector<double> samples) {
    const Summary s = summarize(samples);
    figure.samples = std::move(samples);
    figure.median = s.median;
    figure.hasInterval = s.hasInterval;
    figure.low = s.low;
    figure.high = s.high;
    figure.coverage = s.coverage;
}
