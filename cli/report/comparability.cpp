#include "cli/report/comparability.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>

#include "cli/report/system_facts.h"
#include "cli/report/text_join.h"

namespace {

// Memory as the system description gives it, in bytes; 0 when unknown.
double memoryBytes(const SavedRun& run) {
    const std::string text = systemFact(run, "memory_bytes");
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 18) return 0.0;
    return std::strtod(text.c_str(), nullptr);
}

// Total memory shifts by a few MiB between kernels and firmware settings
// of one machine; a twentieth is another machine.
bool memoryDiffers(double a, double b) { return a > 0.0 && b > 0.0 && std::fabs(a - b) > 0.05 * std::max(a, b); }

void addReason(std::string& reasons, const std::string& reason) {
    reasons += concat({reasons.empty() ? "" : "; ", reason});
}

void addIfDiffer(std::string& reasons, const std::string& a, const std::string& b, const char* what,
                 const char* after = "") {
    if (a.empty() || b.empty() || a == b) return;
    addReason(reasons, concat({what, " ", a, " and ", b, after}));
}

bool dateBefore(const SavedRun& a, const SavedRun& b) {
    if (a.startedAt != b.startedAt) return a.startedAt < b.startedAt;
    return a.id < b.id;
}

}  // namespace

std::string systemFact(const SavedRun& run, const std::string& name) {
    for (const auto& [factName, value] : run.system)
        if (factName == name) return value;
    return "";
}

std::string notComparableWith(const SavedRun& run, const SavedRun& first) {
    std::string reasons;
    if (run.window != first.window)
        addReason(reasons, concat({"drawn ", run.window ? "in a window" : "offscreen", " and ",
                                   first.window ? "in a window" : "offscreen"}));
    addIfDiffer(reasons, run.cpu, first.cpu, "measured on");
    addIfDiffer(reasons, systemFact(run, "cores"), systemFact(first, "cores"), "with", " logical processors");
    const double memory = memoryBytes(run), firstMemory = memoryBytes(first);
    if (memoryDiffers(memory, firstMemory))
        addReason(reasons, concat({"with ", gibText(memory), " and ", gibText(firstMemory), " of memory"}));
    if (const std::string other = notDirectlyComparable(run, first); !other.empty()) addReason(reasons, other);
    return reasons;
}

std::vector<std::vector<std::size_t>> trendGroups(const std::vector<SavedRun>& runs) {
    // Runs of one machine and mode share a key; within a key, memory sizes
    // more than a twentieth apart start a group of their own.  Sorting
    // rather than comparing every run with every group keeps this n log n
    // for a store of many runs.
    using Key = std::tuple<bool, std::string, std::string, std::string, std::string>;
    std::map<Key, std::vector<std::size_t>> byKey;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const SavedRun& run = runs[r];
        byKey[Key(run.window, run.cpu, systemFact(run, "cores"), run.architecture, run.benchmarkVersion)].push_back(r);
    }
    std::vector<std::vector<std::size_t>> groups;
    for (auto& [key, members] : byKey) {
        std::stable_sort(members.begin(), members.end(),
                         [&](std::size_t a, std::size_t b) { return memoryBytes(runs[a]) < memoryBytes(runs[b]); });
        std::size_t start = 0;
        for (std::size_t i = 1; i <= members.size(); ++i) {
            if (i < members.size() && !memoryDiffers(memoryBytes(runs[members[start]]), memoryBytes(runs[members[i]])))
                continue;
            if (i - start >= 3) groups.emplace_back(members.begin() + static_cast<std::ptrdiff_t>(start),
                                                    members.begin() + static_cast<std::ptrdiff_t>(i));
            start = i;
        }
    }
    for (std::vector<std::size_t>& g : groups)
        std::stable_sort(g.begin(), g.end(), [&](std::size_t a, std::size_t b) { return dateBefore(runs[a], runs[b]); });
    // In the order of each group's earliest run.
    std::sort(groups.begin(), groups.end(), [&](const std::vector<std::size_t>& a, const std::vector<std::size_t>& b) {
        return dateBefore(runs[a.front()], runs[b.front()]);
    });
    return groups;
}
