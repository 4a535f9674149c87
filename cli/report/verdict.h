// The verdict on two runs: for each figure both hold (the same id measured
// with the same thread count), whether the candidate run is worse, better
// or the same as the baseline run; then that verdict as text lines and as
// Markdown for a CI job's summary page.
//
// A figure is worse when a two-sided rank test (cli/run/rank_test.h) on the
// two runs' samples rejects equality, with the p-values of all figures
// judged adjusted by Holm's method so that two runs of one unchanged
// machine are called different at most at the rate alpha, and the
// candidate's median is worse than the baseline's by more than the
// threshold; better likewise the other way; the same otherwise.  A figure
// whose samples are too few for the test ever to reach alpha is judged
// neither way and is left out of Holm's family, and so is one whose
// baseline median is zero (no change can be told against it) or whose
// candidate has no sample above zero; and when no figure of the family
// could reach Holm's first step, alpha / m, none is judged.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cli/results/saved_run.h"

struct VerdictRules {
    double thresholdPercent = 5.0;  // the least change of the median that counts
    double alpha = 0.01;            // the family-wise rate of false findings allowed
};

enum class Judgement { Worse, Better, Same, TooFewSamples, NotANumber, BaselineZero, NoPositiveSample };

struct FigureVerdict {
    FigureKey key;
    std::string label;  // as the run holds it
    std::string unit;
    double baselineMedian = 0.0;  // of the samples
    double candidateMedian = 0.0;
    double changePercent = 0.0;   // candidate against baseline; 0 when the baseline is zero
    double pValue = 1.0;          // Holm-adjusted; for judged figures only
    bool exact = false;           // p from the exact distribution
    Judgement judgement = Judgement::Same;
    std::size_t samplesNeeded = 0;  // TooFewSamples: what each run would need
};

struct VerdictRun {
    std::string name;  // "run #3" or the file's name, as the user gave it
    std::string cpu;   // what names it beside that: its label, else its processor
};

struct Verdict {
    VerdictRules rules;
    VerdictRun baseline;
    VerdictRun candidate;
    std::vector<FigureVerdict> figures;  // every figure both runs hold, in the order they first appear
    std::string notComparable;           // why the runs are not directly comparable; "" when they are

    int count(Judgement j) const;
    int judged() const { return count(Judgement::Worse) + count(Judgement::Better) + count(Judgement::Same); }
};

Verdict judgeRuns(const SavedRun& baseline, const std::string& baselineName, const SavedRun& candidate,
                  const std::string& candidateName, const VerdictRules& rules);

// The exit status a CI job acts on: 3 when any figure is worse, else 4 when
// not one figure could be judged, else 0.
constexpr int kStatusWorse = 3;
constexpr int kStatusNoneJudged = 4;
int verdictStatus(const Verdict& verdict);

// A heading, one line per figure (both medians, the change, the adjusted
// p-value, the verdict, and for an "MB/S" figure both true bandwidths) and
// a summary line.
std::vector<std::string> verdictLines(const Verdict& verdict);

// The same as a Markdown heading, table and summary.
std::string verdictMarkdown(const Verdict& verdict);
