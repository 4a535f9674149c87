#include "cli/store_commands.h"

#include <cstdio>

#include "cli/command_words.h"
#include "cli/messages.h"
#include "cli/output_paths.h"
#include "cli/output_writing.h"
#include "cli/report/history.h"
#include "cli/report/html_report.h"
#include "cli/report/safe_text.h"
#include "cli/report/table_export.h"
#include "cli/results/run_sources.h"

namespace {

// A problem with the store: exit status 1.
int storeError(const CliStreams& s, const std::string& message) {
    printError(s, message);
    return 1;
}

// "2 runs of STORE cannot be read: #3, #7", for the exit status's one line.
std::string unreadableSummary(const std::vector<UnreadableRun>& unreadable, const ResultsStore& store) {
    std::string ids;
    for (const UnreadableRun& run : unreadable) ids += (ids.empty() ? "#" : ", #") + std::to_string(run.id);
    return std::to_string(unreadable.size()) + (unreadable.size() == 1 ? " run" : " runs") + " of " + store.path() +
           " cannot be read: " + ids;
}

}  // namespace

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
    // A run at a time: a store may hold a great many.  The notes on runs
    // that are not directly comparable follow the table.
    const SavedRun here = thisProgram();
    std::vector<std::string> notes;
    std::vector<UnreadableRun> unreadable;
    std::fprintf(streams.out, "%s\n", historyHeading().c_str());
    for (const long long id : ids) {
        SavedRun run;
        if (!store->load(id, run, error)) {
            // One damaged run costs its own line, not the list.
            std::fprintf(streams.out, "%s\n", historyUnreadableLine(id, error).c_str());
            unreadable.push_back({id, error});
            continue;
        }
        std::fprintf(streams.out, "%s\n", historyLine(run, here).c_str());
        if (std::string note = historyNote(run, here); !note.empty()) notes.push_back(std::move(note));
    }
    for (const std::string& note : notes) std::fprintf(streams.out, "%s\n", note.c_str());
    if (ids.empty()) std::fprintf(streams.out, "(no run is stored in %s yet)\n", terminalText(store->path()).c_str());
    if (unreadable.empty()) return 0;
    return storeError(streams, unreadableSummary(unreadable, *store) + " (marked ? above)");
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
    std::vector<UnreadableRun> unreadable;
    if (const std::string problem = loadRuns(*store, ids, runs, unreadable); !problem.empty())
        return storeError(streams, problem);
    // The report shows every run that can be read; each one left out is
    // named with its reason, and the exit status says so.
    for (const UnreadableRun& run : unreadable)
        printWarning(streams, "run " + std::to_string(run.id) + " is left out of the report: it cannot be read: " +
                                  run.reason);
    if (runs.empty()) return storeError(streams, "not one of the chosen runs can be read, so no report is written");
    const bool written = writeReportFiles({htmlPath, markdownPath, csvPath}, runs, streams);
    return written && unreadable.empty() ? 0 : 1;
}

int runExport(const std::vector<std::string>& args, const CliStreams& streams) {
    const CommandWords w = splitWords(args, {"-o", "--output", "--store"});
    if (!w.error.empty()) return usageError(streams, "export: " + w.error);
    if (w.words.size() != 1 || !namesStoredRun(w.words.front()))
        return usageError(streams, "export needs one run: its id (see history) or 'last'");
    std::string outputPath, storePath;
    for (const auto& [name, value] : w.options) (name == "--store" ? storePath : outputPath) = value;
    if (!outputPath.empty()) {
        std::string unknown;
        const std::string storeFile = storePath.empty() ? defaultStorePath(unknown) : storePath;
        if (const std::string problem = outputPathProblem(outputPath, "results file", storeFile); !problem.empty())
            return usageError(streams, "export: " + problem);
    }

    std::string error;
    std::unique_ptr<ResultsStore> store = openExistingStore(storePath, error);
    if (!store) return storeError(streams, error);
    std::vector<long long> ids;
    if (w.words.front() == "last") {
        if (!store->newestIds(1, ids, error)) return storeError(streams, "cannot read " + store->path() + ": " + error);
        if (ids.empty()) return storeError(streams, store->path() + " holds no run to export");
    } else {
        ids.push_back(std::stoll(w.words.front()));
    }
    ResultsDocument document;
    std::string text;
    if (!store->exportRun(ids.front(), document, error, &text))
        return storeError(streams, "cannot export run " + std::to_string(ids.front()) + " from " + store->path() +
                                       ": " + error);
    const std::string problem = writeDocument(outputPath.empty() ? "-" : outputPath, text, streams.out);
    if (!problem.empty()) return storeError(streams, problem);
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
    if (!store) return storeError(streams, error);
    int status = 0;
    for (const std::string& file : w.words) {
        ResultsDocument document;
        SavedRun run;
        std::string outcome;
        if (!readDocumentFile(file, document, error)) {
            outcome = "refused: " + error;
        } else if (!readSavedRun(document, run, error)) {
            outcome = "refused: not a pelorin-cli results file: " + error;
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
        if (const std::string problem = writeDocument(path, render(runs), streams.out); !problem.empty()) {
            printError(streams, problem);
            written = false;
        }
    }
    return written;
}
