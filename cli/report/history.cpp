#include "cli/report/history.h"

#include <cstdio>

#include "cli/report/safe_text.h"

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
    // "2026-12-07T09:46:42Z" -> "2026-12-07 09:46"
    if (iso.size() < 16) return iso;
    return iso.substr(0, 10) + " " + iso.substr(11, 5);
}

}  // namespace

std::string historyHeading() {
    char line[256];
    std::snprintf(line, sizeof line, "%6s  %-16s  %-8s  %-32s", "ID", "Date (UTC)", "Arch", "Processor");
    std::string heading = line;
    for (const Headline& h : kHeadlines) {
        std::snprintf(line, sizeof line, "  %8s", h.heading);
        heading += line;
    }
    return heading + "  (% of the reference machine)";
}

std::string historyLine(const SavedRun& run) {
    char line[256];
    std::snprintf(line, sizeof line, "%6lld  %-16s  %-8s  %-32s", run.id,
                  fittedText(terminalText(shortDate(run.startedAt)), 16).c_str(),
                  run.architecture.empty() ? "-" : fittedText(terminalText(run.architecture), 8).c_str(),
                  fittedText(run.cpu.empty() ? "-" : terminalText(run.cpu), 32).c_str());
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

std::vector<std::string> historyLines(const std::vector<SavedRun>& runs) {
    std::vector<std::string> lines{historyHeading()};
    for (const SavedRun& run : runs) lines.push_back(historyLine(run));
    return lines;
}
