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

// Text from a file name or a file's contents, made safe for one terminal
// line: every control character (C0, DEL, and C1 as UTF-8) becomes '?'.
std::string terminalText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const unsigned char next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c < 0x20 || c == 0x7F) {
            out += '?';
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            out += '?';
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

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
    for (const std::string& line : historyLines(runs, thisProgram())) std::fprintf(streams.out, "%s\n", line.c_str());
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

int runExport(const std::vector<std::string>& args, const CliStreams& streams) {
    const CommandWords w = splitWords(args, {"-o", "--output", "--store"});
    if (!w.error.empty()) return usageError(streams, "export: " + w.error);
    if (w.words.size() != 1 || !namesStoredRun(w.words.front()))
        return usageError(streams, "export needs one run: its id (see history) or 'last'");
    std::string outputPath, storePath;
    for (const auto& [name, value] : w.options) (name == "--store" ? storePath : outputPath) = value;

    std::string error;
    std::unique_ptr<ResultsStore> store = openExistingStore(storePath, error);
    if (!store) {
        std::fprintf(streams.err, "pelorin-cli: %s\n", error.c_str());
        return 1;
    }
    std::vector<long long> ids;
    if (w.words.front() == "last") {
        if (!store->newestIds(1, ids, error)) {
            std::fprintf(streams.err, "pelorin-cli: cannot read %s: %s\n", store->path().c_str(), error.c_str());
            return 1;
        }
        if (ids.empty()) {
            std::fprintf(streams.err, "pelorin-cli: %s holds no run to export\n", store->path().c_str());
            return 1;
        }
    } else {
        ids.push_back(std::stoll(w.words.front()));
    }
    ResultsDocument document;
    if (!store->exportRun(ids.front(), document, error)) {
        std::fprintf(streams.err, "pelorin-cli: cannot export run %lld from %s: %s\n", ids.front(),
                     store->path().c_str(), error.c_str());
        return 1;
    }
    const std::string text = documentText(document);
    if (outputPath.empty()) {
        std::fputs(text.c_str(), streams.out);
        return 0;
    }
    if (const std::string problem = writeTextFile(outputPath, text); !problem.empty()) {
        std::fprintf(streams.err, "pelorin-cli: %s\n", problem.c_str());
        return 1;
    }
    return 0;
}

int runImport(const std::vector<std::string>& args, const CliStreams& streams) {
    const CommandWords w = splitWords(args, {"--store"});
    if (!w.error.empty()) return usageError(streams, "import: " + w.error);
    if (w.words.empty()) return usageError(streams, "import needs the results files to import");
    std::string storePath;
    for (const auto& [name, value] : w.options) storePath = value;

    std::string error;
    std::unique_ptr<ResultsStore> store = openResultsStore(storePath, error);
    if (!store) {
        std::fprintf(streams.err, "pelorin-cli: %s\n", terminalText(error).c_str());
        return 1;
    }
    int status = 0;
    for (const std::string& file : w.words) {
        ResultsDocument document;
        SavedRun run;
        std::string outcome;
        std::string text;
        if (!readWholeFile(file, text, error)) {
            outcome = "refused: cannot read it: " + error;
        } else if (const std::string problem = readResultsText(text, document, run); !problem.empty()) {
            outcome = "refused: not a pelorin-cli results file: " + problem;
        } else {
            bool alreadyStored = false;
            const long long id = store->importRun(document, alreadyStored, error);
            if (id == 0)
                outcome = "refused: the results store " + store->path() + " cannot take it: " + error;
            else
                outcome = (alreadyStored ? "already stored as run " : "imported as run ") + std::to_string(id);
        }
        if (outcome.rfind("refused", 0) == 0) status = 1;
        std::fprintf(streams.out, "%s\n", terminalText(file + ": " + outcome).c_str());
    }
    return status;
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
