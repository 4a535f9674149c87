#include "cli/report/table_export.h"

#include <cstdio>
#include <iterator>

#include "cli/report/bandwidth.h"
#include "cli/report/comparability.h"
#include "cli/report/machine_index.h"
#include "cli/report/safe_text.h"
#include "cli/report/text_join.h"

namespace {

std::string exact(double value) { return formatNumber("%.17g", value); }

// The median, with the true bandwidth of an "MB/S" figure beside it.
std::string median(const SavedFigure& f) {
    return withTrueBandwidth(formatNumber(f.unit == "fps" ? "%.1f" : "%.2f", f.median), f.unit, f.median);
}

}  // namespace

std::string markdownReport(const std::vector<SavedRun>& runs) {
    std::string text = "## Pelorin Benchmark results\n\n"
                       "| Run | Label | Date (UTC) | Processor | Architecture | Mode | Graphics index | Processor index |\n"
                       "|---|---|---|---|---|---|---:|---:|\n";
    std::string notes;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const SavedRun& run = runs[r];
        const std::string why = r == 0 ? "" : notComparableWith(run, runs.front());
        if (!why.empty()) notes += concat({"- ", runName(run), ": ", markdownText(why), "\n"});
        text += concat({"| ", runName(run), why.empty() ? "" : " \xE2\x80\xA0", " | ", markdownText(run.label), " | ",
                        markdownText(run.startedAt), " | ", markdownText(run.cpu.empty() ? "unknown processor" : run.cpu), " | ",
                        markdownText(run.architecture), " | ", runMode(run), " | ", indexText(graphicsIndex(run)), " | ",
                        indexText(processorIndex(run)), " |\n"});
    }
    if (!notes.empty())
        text += concat({"\n\xE2\x80\xA0 not directly comparable with ", runName(runs.front()), ":\n\n", notes});
    text += "\nEvery figure counts work done per second: higher is better. The percentages are of the reference "
            "machine; the indices are their geometric means, Graphics of the frame rates of Stages 1-6, Processor of "
            "the one-thread figures of Stages 7 and 8. \"MB/S\" is the benchmark's own scale, four times the "
            "mebibytes moved per second; the true bandwidth (10^9 bytes a second) is given beside it.\n";
    text += "\n| Stage | Figure | Unit |";
    std::string rule = "\n|---:|---|---|";
    for (const SavedRun& run : runs) {
        const std::string name = runName(run);
        text += concat({" ", name, " median | ", name, " % |"});
        rule += "---:|---:|";
    }
    text += rule;
    text += "\n";
    const FigureTable table(runs);
    for (std::size_t row = 0; row < table.keys().size(); ++row) {
        const SavedFigure* any = table.any(row);
        text += concat({"| ", std::to_string(any->stage), " | ",
                        markdownText(labelWithThreads(any->label, table.keys()[row].threads)), " | ",
                        markdownText(any->unit), " |"});
        const SavedFigure* first = table.at(row, 0);
        for (std::size_t r = 0; r < runs.size(); ++r) {
            const SavedFigure* f = table.at(row, r);
            if (f == nullptr) {
                text += " - | - |";
                continue;
            }
            const bool apart = first != nullptr && f != first && intervalsApart(*f, *first);
            text += concat({" ", median(*f), apart ? " *" : "", " | ",
                            f->reference > 0.0 ? formatNumber("%.1f%%", f->percent()) : "-", " |"});
        }
        text += "\n";
    }
    if (runs.size() > 1)
        text += concat({"\n\\* the interval of the median does not overlap ", runName(runs.front()), "'s.\n"});
    return text;
}

std::string csvReport(const std::vector<SavedRun>& runs) {
    std::string text =
        "run_id,started_at,cpu,architecture,stage,figure,label,unit,samples,median,interval_low,interval_high,"
        "interval_coverage,reference,percent_of_reference,threads,run_label,mode,benchmark_version,graphics_index,"
        "processor_index,not_directly_comparable_with_first,bandwidth_gb_per_s\n";
    for (const SavedRun& run : runs) {
        const std::optional<double> graphics = graphicsIndex(run), processor = processorIndex(run);
        const std::string why = &run == &runs.front() ? "" : notComparableWith(run, runs.front());
        for (const SavedFigure& f : run.figures) {
            std::string samples;
            for (const double s : f.samples) samples += concat({samples.empty() ? "" : ";", exact(s)});
            // Numbers as we write them; every text through csvText.
            const std::string fields[] = {
                run.id > 0 ? std::to_string(run.id) : "",
                csvText(run.startedAt),
                csvText(run.cpu),
                csvText(run.architecture),
                std::to_string(f.stage),
                csvText(f.id),
                csvText(f.label),
                csvText(f.unit),
                samples,
                exact(f.median),
                f.hasInterval ? exact(f.low) : "",
                f.hasInterval ? exact(f.high) : "",
                f.hasInterval ? exact(f.coverage) : "",
                f.reference > 0.0 ? exact(f.reference) : "",
                f.reference > 0.0 ? exact(f.percent()) : "",
                std::to_string(f.threads),
                csvText(run.label),
                runMode(run),
                csvText(run.benchmarkVersion),
                graphics ? exact(*graphics) : "",
                processor ? exact(*processor) : "",
                csvText(why),
                onBandwidthScale(f.unit) ? exact(trueGigabytesPerSecond(f.median)) : "",
            };
            for (std::size_t i = 0; i < std::size(fields); ++i) text += concat({i == 0 ? "" : ",", fields[i]});
            text += "\n";
        }
    }
    return text;
}
