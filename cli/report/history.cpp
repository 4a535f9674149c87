#include "cli/report/history.h"

#include <cstdio>
#include <cstring>
#include <optional>

#include "cli/report/bandwidth.h"
#include "cli/report/machine_index.h"
#include "cli/report/safe_text.h"
#include "cli/report/text_join.h"
#include "cli/run/benchmark_version.h"
#include "cli/run/system_info.h"

namespace {

// The columns of a line, the blanks between them included: 99 in all, so
// that the table fits a terminal of 100 columns.
constexpr std::size_t kRunColumns = 26;
constexpr std::size_t kLineColumns = 100;

// The headline figure: the true bandwidth of the widest reads.
constexpr const char* kHeadlineId = "read3";

std::string shortDate(const std::string& iso) {
    // "2026-12-07T09:46:42Z" -> "2026-12-07 09:46"; unknown for runs from older files
    if (iso.empty()) return "-";
    if (iso.size() < 16) return iso;
    return iso.substr(0, 10) + " " + iso.substr(11, 5);
}

// A number in at most `width` columns: as `text` gives it when it fits,
// else with fewer digits in powers of ten ("9.9e+13%"), never cut.  Figures
// from a file may be as large as any double the reader lets through.
std::string fitted(const std::string& text, double value, const char* pattern, const char* unit, std::size_t width) {
    if (text.size() <= width) return text;
    for (const char* shorter : {"%.3g", "%.2g", "%.1g"}) {
        const std::string compact = concat({formatNumber(shorter, value), unit});
        if (compact.size() <= width) return compact;
    }
    return concat({formatNumber(pattern, value), unit});
}

std::string indexColumn(const std::optional<double>& index, std::size_t width) {
    return index ? fitted(indexText(index), *index, "%.0e", "%", width) : indexText(index);
}

}  // namespace

SavedRun thisProgram() {
    SavedRun here;
    here.benchmarkVersion = benchmarkVersion();
    here.architecture = machineArchitecture();
    return here;
}

std::string historyHeading() {
    char line[256];
    std::snprintf(line, sizeof line, "%6s   %-16s  %-9s  %s  %8s  %9s  %12s", "ID", "Date (UTC)", "Mode",
                  fittedText("Run", kRunColumns).c_str(), "Graphics", "Processor", "Read SSE");
    return line;
}

std::string historyLine(const SavedRun& run, const SavedRun& here) {
    const bool comparable = notDirectlyComparable(run, here).empty();
    const SavedFigure* headline = run.find(kHeadlineId);
    const std::string bandwidth =
        headline != nullptr && onBandwidthScale(headline->unit)
            ? fitted(trueBandwidthText(headline->median), trueGigabytesPerSecond(headline->median), "%.0e", " GB/s", 12)
            : "-";
    char line[512];
    std::snprintf(line, sizeof line, "%6lld%c  %s  %-9s  %s  %8s  %9s  %12s", run.id, comparable ? ' ' : '!',
                  fittedText(terminalText(shortDate(run.startedAt)), 16).c_str(), runMode(run),
                  fittedText(terminalText(runTitle(run)), kRunColumns).c_str(), indexColumn(graphicsIndex(run), 8).c_str(),
                  indexColumn(processorIndex(run), 9).c_str(), bandwidth.c_str());
    return line;
}

std::string historyNote(const SavedRun& run, const SavedRun& here) {
    const std::string why = notDirectlyComparable(run, here);
    if (why.empty()) return "";
    return cutText(terminalText(concat({"! ", runName(run), " is not directly comparable here (", here.benchmarkVersion,
                                        " on ", here.architecture, "): ", why})),
                   kLineColumns);
}

std::string historyUnreadableLine(long long id, const std::string& reason) {
    char line[32];
    std::snprintf(line, sizeof line, "%6lld?  ", id);
    return line + cutText(terminalText("cannot be read: " + reason), kLineColumns - std::strlen(line));
}

std::vector<std::string> historyLines(const std::vector<SavedRun>& runs, const SavedRun& here) {
    std::vector<std::string> lines{historyHeading()};
    std::vector<std::string> notes;
    for (const SavedRun& run : runs) {
        lines.push_back(historyLine(run, here));
        if (std::string note = historyNote(run, here); !note.empty()) notes.push_back(std::move(note));
    }
    lines.insert(lines.end(), notes.begin(), notes.end());
    return lines;
}
