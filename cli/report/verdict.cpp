#include "cli/report/verdict.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "cli/report/bandwidth.h"
#include "cli/report/compare.h"
#include "cli/report/comparability.h"
#include "cli/report/safe_text.h"
#include "cli/report/text_join.h"
#include "cli/run/figures.h"
#include "cli/run/rank_test.h"
#include "cli/run/statistics.h"

namespace {

enum class Medium { Terminal, Markdown };

// Text that comes from a results file, the store or the command line
// (labels, units, processor and file names), made safe for where it goes.
std::string shown(const std::string& text, Medium medium) {
    return medium == Medium::Markdown ? markdownText(text) : terminalText(text);
}

bool allFinite(const std::vector<double>& samples) {
    for (const double s : samples)
        if (!std::isfinite(s)) return false;
    return true;
}

// The median of the samples the test sees; the run's own median when it
// holds no usable samples.
double medianOf(const SavedFigure& f) {
    return !f.samples.empty() && allFinite(f.samples) ? summarize(f.samples).median : f.median;
}

bool higherIsBetterFor(const std::string& id) {
    const int index = figureIndex(id);
    return index < 0 || higherIsBetter(figure(index).kind);  // every figure known so far is
}

std::string median(const FigureVerdict& f, double value) { return formatNumber(f.unit == "fps" ? "%.1f" : "%.2f", value); }

// For a table cell: the median, with the true bandwidth of an "MB/S" figure.
std::string medianCell(const FigureVerdict& f, double value) { return withTrueBandwidth(median(f, value), f.unit, value); }

// For the end of a terminal line: the true bandwidths of an "MB/S" figure.
std::string bandwidthNote(const FigureVerdict& f) {
    if (!onBandwidthScale(f.unit)) return "";
    return concat({"  [", trueBandwidthText(f.baselineMedian), " -> ", trueBandwidthText(f.candidateMedian), "]"});
}

std::string pText(const FigureVerdict& f) {
    const bool judged = f.judgement == Judgement::Worse || f.judgement == Judgement::Better ||
                        f.judgement == Judgement::Same;
    if (!judged) return "-";
    return f.pValue < 0.0001 ? "<0.0001" : formatNumber("%.4f", f.pValue);
}

std::string verdictWord(const FigureVerdict& f) {
    switch (f.judgement) {
        case Judgement::Worse:
            return "worse";
        case Judgement::Better:
            return "better";
        case Judgement::Same:
            return "same";
        case Judgement::TooFewSamples:
            return concat({"too few samples (each run needs at least ", std::to_string(f.samplesNeeded), ")"});
        case Judgement::NotANumber:
            return "not judged: a sample is not a finite number";
        case Judgement::BaselineZero:
            return "not judged: baseline is zero";
        case Judgement::NoPositiveSample:
            return "not judged: the candidate has no sample above zero";
    }
    return "";
}

// The change in %; none against a baseline of zero.
std::string changeText(const FigureVerdict& f) {
    return f.judgement == Judgement::BaselineZero ? "-" : formatNumber("%+.2f%%", f.changePercent);
}

bool anyAboveZero(const std::vector<double>& samples) {
    for (const double s : samples)
        if (s > 0.0) return true;
    return false;
}

std::string ruleText(const VerdictRules& rules, Medium medium) {
    const char* lessOrEqual = medium == Medium::Markdown ? "≤" : "<=";
    return concat({"worse or better when a two-sided Mann-Whitney U test rejects equality at Holm-adjusted p ",
                   lessOrEqual, " ", formatNumber("%g", rules.alpha), " and the median changed by more than ",
                   formatNumber("%g", rules.thresholdPercent), "%"});
}

std::string runText(const VerdictRun& run, Medium medium) {
    std::string text = shown(run.name, medium);
    if (!run.cpu.empty()) text += concat({" (", shown(run.cpu, medium), ")"});
    return text;
}

std::string summaryText(const Verdict& v) {
    const std::size_t total = v.figures.size();
    const std::string figures = total == 1 ? "figure" : "figures";
    std::string text;
    if (v.judged() == 0) {
        text = concat({"not one of the ", std::to_string(total), " ", figures, " in both runs could be judged"});
    } else {
        text = concat({std::to_string(v.count(Judgement::Worse)), " worse, ", std::to_string(v.count(Judgement::Better)),
                       " better, ", std::to_string(v.count(Judgement::Same)), " the same"});
        if (const int notJudged = static_cast<int>(total) - v.judged(); notJudged > 0)
            text += concat({", ", std::to_string(notJudged), " not judged"});
        text += concat({" (", std::to_string(total), " ", figures, " in both runs)"});
    }
    text += ".";
    return text;
}

std::string comparabilityText(const Verdict& v, Medium medium) {
    if (v.notComparable.empty()) return "";
    return concat({"The runs are not directly comparable: ", shown(v.notComparable, medium), "."});
}

}  // namespace

int Verdict::count(Judgement j) const {
    int n = 0;
    for (const FigureVerdict& f : figures) n += f.judgement == j ? 1 : 0;
    return n;
}

Verdict judgeRuns(const SavedRun& baseline, const std::string& baselineName, const SavedRun& candidate,
                  const std::string& candidateName, const VerdictRules& rules) {
    Verdict v;
    v.rules = rules;
    // A run is named by its label, else its processor.
    v.baseline = {baselineName, baseline.label.empty() ? baseline.cpu : baseline.label};
    v.candidate = {candidateName, candidate.label.empty() ? candidate.cpu : candidate.label};
    v.notComparable = notComparableWith(baseline, candidate);

    std::vector<std::size_t> tested;  // the figures in Holm's family
    std::vector<double> pValues;
    for (const FigureKey& key : figureKeysOf({baseline, candidate})) {
        const SavedFigure* before = baseline.find(key.id, key.threads);
        const SavedFigure* now = candidate.find(key.id, key.threads);
        if (before == nullptr || now == nullptr) continue;
        FigureVerdict f;
        f.key = key;
        f.label = labelWithThreads(now->label.empty() ? now->id : now->label, key.threads);
        f.unit = now->unit;
        f.baselineMedian = medianOf(*before);
        f.candidateMedian = medianOf(*now);
        f.changePercent = changePercent(f.candidateMedian, f.baselineMedian);
        if (!allFinite(before->samples) || !allFinite(now->samples)) {
            f.judgement = Judgement::NotANumber;
        } else if (f.baselineMedian == 0.0) {
            f.judgement = Judgement::BaselineZero;
        } else if (!now->samples.empty() ? !anyAboveZero(now->samples) : f.candidateMedian <= 0.0) {
            f.judgement = Judgement::NoPositiveSample;
        } else if (smallestPValue(before->samples.size(), now->samples.size()) > rules.alpha) {
            f.judgement = Judgement::TooFewSamples;
            f.samplesNeeded = samplesNeeded(rules.alpha);
        } else {
            const RankTest test = rankTest(before->samples, now->samples);
            f.exact = test.exact;
            tested.push_back(v.figures.size());
            pValues.push_back(test.pValue);
        }
        v.figures.push_back(f);
    }

    // Holm's first step asks for alpha / m.  When no figure's samples can
    // reach even that, nothing can be found different whatever they hold:
    // calling every figure the same would only look like an answer.
    const double firstStep = rules.alpha / static_cast<double>(tested.size());
    bool anyCanReach = false;
    for (const std::size_t i : tested) {
        const FigureVerdict& f = v.figures[i];
        const SavedFigure* before = baseline.find(f.key.id, f.key.threads);
        const SavedFigure* now = candidate.find(f.key.id, f.key.threads);
        anyCanReach = anyCanReach || smallestPValue(before->samples.size(), now->samples.size()) <= firstStep;
    }
    if (!anyCanReach) {
        for (const std::size_t i : tested) {
            v.figures[i].judgement = Judgement::TooFewSamples;
            v.figures[i].samplesNeeded = samplesNeeded(firstStep);
        }
        return v;
    }

    const std::vector<double> adjusted = holmAdjusted(pValues);
    for (std::size_t k = 0; k < tested.size(); ++k) {
        FigureVerdict& f = v.figures[tested[k]];
        f.pValue = adjusted[k];
        // The change in the better direction: negative is a loss.
        const double gain = higherIsBetterFor(f.key.id) ? f.changePercent : -f.changePercent;
        const bool different = f.pValue <= rules.alpha;
        if (different && gain < -rules.thresholdPercent)
            f.judgement = Judgement::Worse;
        else if (different && gain > rules.thresholdPercent)
            f.judgement = Judgement::Better;
        else
            f.judgement = Judgement::Same;
    }
    return v;
}

int verdictStatus(const Verdict& verdict) {
    if (verdict.count(Judgement::Worse) > 0) return kStatusWorse;
    if (verdict.judged() == 0) return kStatusNoneJudged;
    return 0;
}

std::vector<std::string> verdictLines(const Verdict& v) {
    std::vector<std::string> lines;
    lines.push_back(concat({"Check of ", runText(v.candidate, Medium::Terminal), " against ",
                            runText(v.baseline, Medium::Terminal), ":"}));
    lines.push_back(concat({"  ", ruleText(v.rules, Medium::Terminal), "."}));
    // Padded here rather than by snprintf, whose buffer could cut a long
    // label or a huge number from a file short.
    auto left = [](std::string text, std::size_t width) {
        if (text.size() < width) text.append(width - text.size(), ' ');
        return text;
    };
    auto right = [](std::string text, std::size_t width) {
        if (text.size() < width) text.insert(0, width - text.size(), ' ');
        return text;
    };
    lines.push_back(concat({"  ", left("Figure", 34), " ", right("baseline", 16), " ", right("candidate", 16), " ",
                            left("unit", 8), " ", right("change", 9), " ", right("p", 9), "  verdict"}));
    for (const FigureVerdict& f : v.figures) {
        lines.push_back(concat({"  ", left(shown(f.label, Medium::Terminal), 34), " ",
                                right(median(f, f.baselineMedian), 16), " ", right(median(f, f.candidateMedian), 16),
                                " ", left(shown(f.unit, Medium::Terminal), 8), " ",
                                right(changeText(f), 9), " ", right(pText(f), 9), "  ",
                                verdictWord(f), bandwidthNote(f)}));
    }
    std::string summary = concat({"Summary: ", summaryText(v)});
    if (const std::string c = comparabilityText(v, Medium::Terminal); !c.empty()) summary += concat({" ", c});
    lines.push_back(summary);
    return lines;
}

std::string verdictMarkdown(const Verdict& v) {
    const int worse = v.count(Judgement::Worse);
    const std::string outcome = worse > 0            ? concat({std::to_string(worse), " worse"})
                                : v.judged() == 0 ? std::string("nothing could be judged")
                                                  : std::string("none worse");
    std::string text = concat({"## Pelorin Benchmark check: ", outcome, "\n\n"});
    text += concat({"Candidate ", runText(v.candidate, Medium::Markdown), " against baseline ",
                    runText(v.baseline, Medium::Markdown), "; ", ruleText(v.rules, Medium::Markdown), ".\n\n"});
    text += "| Figure | Unit | Baseline median | Candidate median | Change | p (Holm) | Verdict |\n";
    text += "|---|---|---:|---:|---:|---:|---|\n";
    for (const FigureVerdict& f : v.figures) {
        const std::string word = verdictWord(f);
        const bool found = f.judgement == Judgement::Worse || f.judgement == Judgement::Better;
        text += concat({"| ", shown(f.label, Medium::Markdown), " | ", shown(f.unit, Medium::Markdown), " | ",
                        medianCell(f, f.baselineMedian), " | ", medianCell(f, f.candidateMedian), " | ",
                        changeText(f), " | ", shown(pText(f), Medium::Markdown), " | ",
                        found ? concat({"**", word, "**"}) : word, " |\n"});
    }
    text += concat({"\n**Summary:** ", summaryText(v), "\n"});
    if (const std::string c = comparabilityText(v, Medium::Markdown); !c.empty()) text += concat({"\n", c, "\n"});
    return text;
}
