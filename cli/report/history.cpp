#include "cli/report/history.h"

#include <cstdio>

#include "cli/report/machine_index.h"
#include "cli/report/safe_text.h"
#include "cli/run/benchmark_version.h"
#include "cli/run/system_info.h"

namespace {

// One figure of each kind of work: text, copies, sprites, memory and arithmetic.
struct Headline {
    const char* id;
    const char* heading;
};
constexpr Headline kHeadlines[] = {{"FontSpeed1", "Font 1"},
                                   {"FastBltSpeed", "BitBlt"},
                                   {"DrawSpriteSpeed", "Sprite"},
                                   {"read3", "Read SSE"},
                                   {"calc_add", "ADD"}};

std::string shortDate(const std::string& iso) {
    // "2026-12-07T09:46:42Z" -> "2026-12-07 09:46"; unknown for runs from older files
    if (iso.empty()) return "-";
    if (iso.size() < 16) return iso;
    return iso.substr(0, 10) + " " + iso.substr(11, 5);
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
    std::snprintf(line, sizeof line, "%6s   %-16s  %-9s  %-8s  %-32s  %9s  %9s", "ID", "Date (UTC)", "Mode", "Arch",
                  "Run", "Graphics", "Processor");
    std::string heading = line;
    for (const Headline& h : kHeadlines) {
        std::snprintf(line, sizeof line, "  %8s", h.heading);
        heading += line;
    }
    return heading + "  (% of the reference machine)";
}

std::string historyLine(const SavedRun& run, const SavedRun& here) {
    const bool comparable = notDirectlyComparable(run, here).empty();
    char line[512];
    std::snprintf(line, sizeof line, "%6lld%c  %s  %-9s  %s  %s  %9s  %9s", run.id, comparable ? ' ' : '!',
                  fittedText(terminalText(shortDate(run.startedAt)), 16).c_str(), runMode(run),
                  fittedText(terminalText(run.architecture.empty() ? "-" : run.architecture), 8).c_str(),
                  fittedText(terminalText(runTitle(run)), 32).c_str(), indexText(graphicsIndex(run)).c_str(),
                  indexText(processorIndex(run)).c_str());
    std::string text = line;
    for (const Headline& h : kHeadlines) {
        const SavedFigure* f = run.find(h.id);
        if (f != nullptr && f->reference > 0.0)
            std::snprintf(line, sizeof line, "  %7.1f%%", f->percent());
        else
            std::snprintf(line, sizeof line, "  %8s", "-");
        text += line;
    }
    return text;
}

std::string historyNote(const SavedRun& run, const SavedRun& here) {
    const std::string why = notDirectlyComparable(run, here);
    if (why.empty()) return "";
    return terminalText("! " + runName(run) + " is not directly comparable with this pelorin-cli (" +
                        here.benchmarkVersion + ", " + here.architecture + "): " + why);
}

std::string historyUnreadableLine(long long id, const std::string& reason) {
    char line[32];
    std::snprintf(line, sizeof line, "%6lld?  ", id);
    return line + terminalText("cannot be read: " + reason);
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
