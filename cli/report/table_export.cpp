#include "cli/report/table_export.h"

#include <cstdio>
#include <iterator>

#include "cli/report/machine_index.h"
#include "cli/report/text_join.h"

namespace {

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string exact(double value) { return format("%.17g", value); }

std::string median(const SavedFigure& f) { return format(f.unit == "fps" ? "%.1f" : "%.2f", f.median); }

// A Markdown cell may not hold a "|" or a line break.
std::string cell(std::string text) {
    for (std::size_t at = 0; (at = text.find_first_of("|\n", at)) != std::string::npos; at += 2)
        text.replace(at, 1, text[at] == '|' ? "\\|" : " ");
    return text;
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string_view("\"\"") : std::string_view(&c, 1);
    quoted += '"';
    return quoted;
}

const SavedFigure* firstWith(const std::vector<SavedRun>& runs, const FigureKey& key) {
    for (const SavedRun& run : runs)
        if (const SavedFigure* f = run.find(key.id, key.threads)) return f;
    return nullptr;
}

}  // namespace

std::string markdownReport(const std::vector<SavedRun>& runs) {
    std::string text = "## Pelorin Benchmark results\n\n"
                       "| Run | Label | Date (UTC) | Processor | Architecture | Mode | Graphics index | Processor index |\n"
                       "|---|---|---|---|---|---|---:|---:|\n";
    std::string notes;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const SavedRun& run = runs[r];
        const std::string why = r == 0 ? "" : notDirectlyComparable(run, runs.front());
        if (!why.empty()) notes += concat({"- ", runName(run), ": ", cell(why), "\n"});
        text += concat({"| ", runName(run), why.empty() ? "" : " \xE2\x80\xA0", " | ", cell(run.label), " | ",
                        cell(run.startedAt), " | ", cell(run.cpu.empty() ? "unknown processor" : run.cpu), " | ",
                        cell(run.architecture), " | ", runMode(run), " | ", indexText(graphicsIndex(run)), " | ",
                        indexText(processorIndex(run)), " |\n"});
    }
    if (!notes.empty())
        text += concat({"\n\xE2\x80\xA0 not directly comparable with ", runName(runs.front()), ":\n\n", notes});
    text += "\nThe indices are geometric means of the percentages of the reference machine: Graphics of the "
            "frame rates of Stages 1-6, Processor of the one-thread figures of Stages 7 and 8.\n";
    text += "\n| Stage | Figure | Unit |";
    std::string rule = "\n|---:|---|---|";
    for (const SavedRun& run : runs) {
        const std::string name = runName(run);
        text += concat({" ", name, " median | ", name, " % |"});
        rule += "---:|---:|";
    }
    text += rule;
    text += "\n";
    for (const FigureKey& key : figureKeysOf(runs)) {
        const SavedFigure* any = firstWith(runs, key);
        text += concat({"| ", std::to_string(any->stage), " | ", cell(labelWithThreads(any->label, key.threads)), " | ",
                        cell(any->unit), " |"});
        const SavedFigure* first = runs.front().find(key.id, key.threads);
        for (const SavedRun& run : runs) {
            const SavedFigure* f = run.find(key.id, key.threads);
            if (f == nullptr) {
                text += " - | - |";
                continue;
            }
            const bool apart = first != nullptr && f != first && intervalsApart(*f, *first);
            text += concat({" ", median(*f), apart ? " *" : "", " | ",
                            f->reference > 0.0 ? format("%.1f%%", f->percent()) : "-", " |"});
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
        "processor_index,not_directly_comparable_with_first\n";
    for (const SavedRun& run : runs) {
        const std::optional<double> graphics = graphicsIndex(run), processor = processorIndex(run);
        const std::string why = &run == &runs.front() ? "" : notDirectlyComparable(run, runs.front());
        for (const SavedFigure& f : run.figures) {
            std::string samples;
            for (const double s : f.samples) samples += concat({samples.empty() ? "" : ";", exact(s)});
            const std::string fields[] = {
                run.id > 0 ? std::to_string(run.id) : "",
                run.startedAt,
                csvField(run.cpu),
                csvField(run.architecture),
                std::to_string(f.stage),
                csvField(f.id),
                csvField(f.label),
                csvField(f.unit),
                samples,
                exact(f.median),
                f.hasInterval ? exact(f.low) : "",
                f.hasInterval ? exact(f.high) : "",
                f.hasInterval ? exact(f.coverage) : "",
                f.reference > 0.0 ? exact(f.reference) : "",
                f.reference > 0.0 ? exact(f.percent()) : "",
                std::to_string(f.threads),
                csvField(run.label),
                runMode(run),
                csvField(run.benchmarkVersion),
                graphics ? exact(*graphics) : "",
                processor ? exact(*processor) : "",
                csvField(why),
            };
            for (std::size_t i = 0; i < std::size(fields); ++i) text += concat({i == 0 ? "" : ",", fields[i]});
            text += "\n";
        }
    }
    return text;
}
