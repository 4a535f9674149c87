#include "cli/report/history.h"

#include <cstdio>

#include "cli/report/machine_index.h"
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

bool continuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u; }

// Characters, not bytes: labels and processor names may be any UTF-8 text.
std::size_t characters(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text) count += continuationByte(c) ? 0 : 1;
    return count;
}

// `text` in exactly `width` characters: cut with "..." or padded with blanks.
std::string fitted(const std::string& text, std::size_t width) {
    const std::size_t count = characters(text);
    if (count <= width) return text + std::string(width - count, ' ');
    // Keep width - 3 characters: cut before the first byte of the next one.
    std::size_t cut = 0, kept = 0;
    for (; cut < text.size(); ++cut) {
        if (continuationByte(text[cut])) continue;
        if (kept == width - 3) break;
        ++kept;
    }
    return text.substr(0, cut) + "...";
}

}  // namespace

SavedRun thisProgram() {
    SavedRun here;
    here.benchmarkVersion = benchmarkVersion();
    here.architecture = machineArchitecture();
    return here;
}

std::vector<std::string> historyLines(const std::vector<SavedRun>& runs, const SavedRun& here) {
    std::vector<std::string> lines;
    char line[512];
    std::snprintf(line, sizeof line, "%6s   %-16s  %-9s  %-8s  %-32s  %9s  %9s", "ID", "Date (UTC)", "Mode", "Arch",
                  "Run", "Graphics", "Processor");
    std::string heading = line;
    for (const Headline& h : kHeadlines) {
        std::snprintf(line, sizeof line, "  %8s", h.heading);
        heading += line;
    }
    heading += "  (% of the reference machine)";
    lines.push_back(heading);
    std::vector<std::string> notes;
    for (const SavedRun& run : runs) {
        const std::string why = notDirectlyComparable(run, here);
        if (!why.empty())
            notes.push_back("! " + runName(run) + " is not directly comparable with this pelorin-cli (" +
                            here.benchmarkVersion + ", " + here.architecture + "): " + why);
        std::snprintf(line, sizeof line, "%6lld%c  %-16s  %-9s  %s  %s  %9s  %9s", run.id, why.empty() ? ' ' : '!',
                      shortDate(run.startedAt).c_str(), runMode(run),
                      fitted(run.architecture.empty() ? "-" : run.architecture, 8).c_str(),
                      fitted(runTitle(run), 32).c_str(), indexText(graphicsIndex(run)).c_str(),
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
        lines.push_back(text);
    }
    lines.insert(lines.end(), notes.begin(), notes.end());
    return lines;
}
