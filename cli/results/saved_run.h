// A run read back from a results file or from the results store: what
// --compare, history and the reports need of it.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// What one run read from a file or a store may hold: far beyond any real run
// (19 figures for each thread count measured, --repeat up to 1000), small
// enough that a forged run cannot exhaust memory or time.
constexpr std::size_t kMaxFiguresPerRun = 10000;
constexpr std::size_t kMaxSamplesPerFigure = 1000000;
constexpr std::size_t kMaxSamplesPerRun = 4000000;
constexpr std::size_t kMaxWarningsPerRun = 100;
constexpr std::size_t kMaxSystemFactsPerRun = 100;
// No figure of any machine comes near this (the fastest, Calc with
// thousands of threads, stays below 1e14), and every report prints numbers
// up to it in full.
constexpr double kLargestFigure = 1e15;

struct SavedFigure {
    std::string id;  // "FontSpeed1", "read1", ...
    int stage = 0;
    int threads = 1;  // how many threads measured it together
    std::string label;
    std::string unit;
    std::vector<double> samples;  // one per pass
    double median = 0.0;
    bool hasInterval = false;
    double low = 0.0;
    double high = 0.0;
    double coverage = 0.0;
    double reference = 0.0;  // the reference machine's figure; 0 when unknown

    // The median as a percentage of the reference machine; 0 when unknown.
    double percent() const { return reference > 0.0 ? median / reference * 100.0 : 0.0; }
};

struct SavedRun {
    long long id = 0;          // the store's run id; 0 for a run read from a file
    std::string uuid;          // run_uuid in lower case; "" for runs made before runs had one
    std::string label;         // --label; "" for none
    bool window = false;       // measured in a window on the display rather than offscreen
    std::string startedAt;     // UTC, "2026-12-07T09:46:42Z"; "" when unknown
    std::vector<std::string> commandLine;
    std::string cpu;
    std::string architecture;  // "" in files written before it was recorded
    std::string benchmarkVersion;  // the version of the benchmark that measured it; "" when unknown
    // The system description as name and printable value, in the document's order.
    std::vector<std::pair<std::string, std::string>> system;
    std::vector<std::string> warnings;
    std::vector<SavedFigure> figures;

    // The figure measured with `threads` threads; one thread unless asked.
    // Linear in the figures: for a few look-ups; reports use FigureTable.
    const SavedFigure* find(const std::string& id, int threads = 1) const {
        for (const SavedFigure& f : figures)
            if (f.id == id && f.threads == threads) return &f;
        return nullptr;
    }
};

// How reports name a run: "#12" for a stored run, "this run" otherwise.
inline std::string runName(const SavedRun& run) {
    if (run.id <= 0) return "this run";
    std::string name = "#";
    name += std::to_string(run.id);
    return name;
}

// What names a run beside its id: its label, else its processor.
inline std::string runTitle(const SavedRun& run) {
    if (!run.label.empty()) return run.label;
    return run.cpu.empty() ? "unknown processor" : run.cpu;
}

// "window" or "offscreen": where the run drew its frames.
inline const char* runMode(const SavedRun& run) { return run.window ? "window" : "offscreen"; }

// Why the figures of two runs cannot be compared directly: "" when they
// can, else a short reason ("measured on x86_64 and aarch64", "measured by
// benchmark versions 1.30 and 1.31").  What is unknown for either run is
// not held against them.
std::string notDirectlyComparable(const SavedRun& a, const SavedRun& b);

// A figure as the reports tell it apart: the same figure measured with
// another number of threads is a figure of its own.
struct FigureKey {
    std::string id;
    int threads = 1;
};

// Every figure the runs hold, each once, in the order they first appear.
std::vector<FigureKey> figureKeysOf(const std::vector<SavedRun>& runs);

// The figures of several runs as a table: a row for each figure in the
// order they first appear, a column for each run.  Built in n log n, so that
// a report of runs with many figures does not search every run for every
// figure.  Keeps pointers into `runs`, which must outlive it unchanged.
class FigureTable {
public:
    explicit FigureTable(const std::vector<SavedRun>& runs);
    const std::vector<FigureKey>& keys() const { return keys_; }
    // The figure of row `row` in run `run`; null when that run lacks it.
    const SavedFigure* at(std::size_t row, std::size_t run) const { return cells_[row * runs_ + run]; }
    // The first run's figure of the row, else the next run's that has it.
    const SavedFigure* any(std::size_t row) const;

private:
    std::size_t runs_;
    std::vector<FigureKey> keys_;
    std::vector<const SavedFigure*> cells_;  // row by row
};

// Why a run read from a file or a store cannot go into reports: "" when it
// can.  Each figure needs an id, a stage from 0 (unknown) to 8, a thread
// count from 1 to kMaxThreads, and samples, median, interval, reference and
// percentage of the reference from 0 to kLargestFigure (a reference of 0 is
// unknown); no figure may appear twice, and the run stays within the limits
// above.
std::string runProblem(const SavedRun& run);

// "Calc ADD" measured on one thread, "Calc ADD, 2 threads" on more.
std::string labelWithThreads(const std::string& label, int threads);

// Sets the figure's samples and the median and interval they give.
void setSamples(SavedFigure& figure, std::vector<double> samples);

// True when both figures have an interval of the median and they share no point.
bool intervalsApart(const SavedFigure& a, const SavedFigure& b);
