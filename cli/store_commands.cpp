#include "cli/store_commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "cli/command_words.h"
#include "cli/report/history.h"
#include "cli/report/html_report.h"
#include "cli/report/table_export.h"
#include "cli/results/run_sources.h"

namespace {

int usageError(const CliStreams& s, const std::string& message) {
    std::fprintf(s.err, "pelorin-cli: %s\n", message.c_str());
    return 2;
}

}  // namespace

std::string writeTextFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return "cannot write " + path + ": " + std::strerror(errno);
    file << text;
    if (!file.flush()) return "cannot write " + path + ": " + std::strerror(errno);
    return "";
}

int runHistory(const std::vector<std::string>& args, const CliStreams& streams) {
    const CommandWords w = splitWords(args, {"--store"});
    if (!w.error.empty()) return usageError(streams, "history: " + w.error);
    if (!w.words.empty()) return usageError(streams, "history takes no '" + w.words.front() + "' (see --help)");
    std::string storePath;
    for (const auto& [name, value] : w.options) storePath = value;

    std::string error;
    std::unique_ptr<ResultsStore> store = openExistingStore(storePath, error);
    if (!store) {
        std::fprintf(streams.err, "pelorin-cli: %s\n", error.c_str());
        return 1;
    }
    std::vector<long long> ids;
    if (!store->newestIds(0, ids, error)) {
        std::fprintf(streams.err, "pelorin-cli: cannot read %s: %s\n", store->path().c_str(), error.c_str());
        return 1;
    }
    std::vector<SavedRun> runs;
    if (const std::string problem = loadRuns(*store, ids, runs); !problem.empty()) {
        std::fprintf(streams.err, "pelorin-cli: %s\n", problem.c_str());
        return 1;
    }
    for (const std::string& line : historyLines(runs)) std::fprintf(streams.out, "%s\n", line.c_str());
    if (runs.empty()) std::fprintf(streams.out, "(no run is stored in %s yet)\n", store->path().c_str());
    return 0;
}

int runReport(const std::vector<std::string>& args, const CliStreams& streams) {
    const CommandWords w = splitWords(args, {"-o", "--output", "--markdown", "--csv", "--store", "--last"});
    if (!w.error.empty()) return usageError(streams, "report: " + w.error);
    std::string htmlPath, markdownPath, csvPath, storePath;
    int last = 0;
    for (const auto& [name, value] : w.options) {
        if (name == "-o" || name == "--output") htmlPath = value;
        if (name == "--markdown") markdownPath = value;
        if (name == "--csv") csvPath = value;
        if (name == "--store") storePath = value;
        if (name == "--last") {
            if (!allDigits(value) || value.size() > 6 || std::stoi(value) < 1)
                return usageError(streams, "report: --last needs a whole number of runs from 1, not '" + value + "'");
            last = std::stoi(value);
        }
    }
    std::vector<long long> ids;
    for (const std::string& word : w.words) {
        if (!allDigits(word)) return usageError(streams, "report: '" + word + "' is not a run id (see history)");
        ids.push_back(std::stoll(word));
    }
    if (!ids.empty() && last > 0) return usageError(streams, "report: give run ids or --last, not both");
    if (htmlPath.empty() && markdownPath.empty() && csvPath.empty())
        return usageError(streams, "report: name a file: -o FILE.html, --markdown FILE or --csv FILE");

    std::string error;
    std::unique_ptr<ResultsStore> store = openExistingStore(storePath, error);
    if (!store) {
        std::fprintf(streams.err, "pelorin-cli: %s\n", error.c_str());
        return 1;
    }
    if (ids.empty() && !store->newestIds(last > 0 ? last : 1, ids, error)) {
        std::fprintf(streams.err, "pelorin-cli: cannot read %s: %s\n", store->path().c_str(), error.c_str());
        return 1;
    }
    if (ids.empty()) {
        std::fprintf(streams.err, "pelorin-cli: %s holds no run to report\n", store->path().c_str());
        return 1;
    }
    std::vector<SavedRun> runs;
    if (const std::string problem = loadRuns(*store, ids, runs); !problem.empty()) {
        std::fprintf(streams.err, "pelorin-cli: %s\n", problem.c_str());
        return 1;
    }
    return writeReportFiles({htmlPath, markdownPath, csvPath}, runs, streams) ? 0 : 1;
}

bool writeReportFiles(const ReportFiles& files, const std::vector<SavedRun>& runs, const CliStreams& streams) {
    bool written = true;
    const std::pair<const std::string&, std::string (*)(const std::vector<SavedRun>&)> reports[] = {
        {files.html, htmlReport}, {files.markdown, markdownReport}, {files.csv, csvReport}};
    for (const auto& [path, render] : reports) {
        if (path.empty()) continue;
        if (const std::string problem = writeTextFile(path, render(runs)); !problem.empty()) {
            std::fprintf(streams.err, "pelorin-cli: %s\n", problem.c_str());
            written = false;
        }
    }
    return written;
}
