#include "cli/store_commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "cli/messages.h"
#include "cli/output_paths.h"
#include "cli/report/history.h"
#include "cli/report/html_report.h"
#include "cli/report/safe_text.h"
#include "cli/report/table_export.h"
#include "cli/results/run_sources.h"

namespace {

int usageError(const CliStreams& s, const std::string& message) {
    printError(s, message);
    return 2;
}

// A problem with the store: exit status 1.
int storeError(const CliStreams& s, const std::string& message) {
    printError(s, message);
    return 1;
}

// The words after a command: "--name value", "--name=value" and bare words.
struct CommandWords {
    std::vector<std::pair<std::string, std::string>> options;
    std::vector<std::string> words;
    std::string error;
};

CommandWords splitWords(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions) {
    CommandWords out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        if (name.empty() || name[0] != '-') {
            out.words.push_back(name);
            continue;
        }
        std::string value;
        bool hasValue = false;
        if (const std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            hasValue = true;
        }
        bool known = false;
        for (const std::string& v : valueOptions) known = known || v == name;
        if (!known) {
            out.error = "unknown option '" + args[i] + "' (see --help)";
            return out;
        }
        if (!hasValue) {
            if (i + 1 >= args.size()) {
                out.error = "option " + name + " needs a value";
                return out;
            }
            value = args[++i];
        }
        if (value.empty()) {
            out.error = "option " + name + " needs a value";
            return out;
        }
        out.options.emplace_back(name, value);
    }
    return out;
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
    if (!store) return storeError(streams, error);
    std::vector<long long> ids;
    if (!store->newestIds(0, ids, error)) return storeError(streams, "cannot read " + store->path() + ": " + error);
    // A run at a time: a store may hold a great many.
    std::fprintf(streams.out, "%s\n", historyHeading().c_str());
    for (const long long id : ids) {
        SavedRun run;
        if (!store->load(id, run, error))
            return storeError(streams, "cannot read run " + std::to_string(id) + " from " + store->path() + ": " + error);
        std::fprintf(streams.out, "%s\n", historyLine(run).c_str());
    }
    if (ids.empty()) std::fprintf(streams.out, "(no run is stored in %s yet)\n", terminalText(store->path()).c_str());
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

    std::string unknown;
    const std::string storeFile = storePath.empty() ? defaultStorePath(unknown) : storePath;
    const std::pair<const std::string&, const char*> outputs[] = {
        {htmlPath, "HTML report"}, {markdownPath, "Markdown file"}, {csvPath, "CSV file"}};
    for (const auto& [path, what] : outputs)
        if (!path.empty())
            if (const std::string problem = outputPathProblem(path, what, storeFile); !problem.empty())
                return usageError(streams, "report: " + problem);

    std::string error;
    std::unique_ptr<ResultsStore> store = openExistingStore(storePath, error);
    if (!store) return storeError(streams, error);
    if (ids.empty() && !store->newestIds(last > 0 ? last : 1, ids, error))
        return storeError(streams, "cannot read " + store->path() + ": " + error);
    if (ids.empty()) return storeError(streams, store->path() + " holds no run to report");
    std::vector<SavedRun> runs;
    if (const std::string problem = loadRuns(*store, ids, runs); !problem.empty()) return storeError(streams, problem);
    return writeReportFiles({htmlPath, markdownPath, csvPath}, runs, streams) ? 0 : 1;
}

bool writeReportFiles(const ReportFiles& files, const std::vector<SavedRun>& runs, const CliStreams& streams) {
    bool written = true;
    const std::pair<const std::string&, std::string (*)(const std::vector<SavedRun>&)> reports[] = {
        {files.html, htmlReport}, {files.markdown, markdownReport}, {files.csv, csvReport}};
    for (const auto& [path, render] : reports) {
        if (path.empty()) continue;
        if (const std::string problem = writeTextFile(path, render(runs)); !problem.empty()) {
            printError(streams, problem);
            written = false;
        }
    }
    return written;
}
