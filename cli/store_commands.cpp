#include "cli/store_commands.h"

#include <cstdio>
#include <filesystem>

#include "cli/messages.h"
#include "cli/output_paths.h"
#include "cli/output_writing.h"
#include "cli/report/history.h"
#include "cli/report/html_report.h"
#include "cli/report/safe_text.h"
#include "cli/report/table_export.h"
#include "cli/results/run_sources.h"

namespace {

// A problem with the store that a command only reads, or a run it names
// that is not there.
int unreadable(const CliStreams& s, const std::string& message) {
    printError(s, message);
    return kStatusUnreadable;
}

// A problem with the store a command writes to: exit status 1.
int storeError(const CliStreams& s, const std::string& message) {
    printError(s, message);
    return 1;
}

std::string storeFileOf(const std::string& chosen) {
    std::string unknown;
    return chosen.empty() ? defaultStorePath(unknown) : chosen;
}

// "" when each output may be written: none is the store, none takes the
// place of another; "-" is standard output.
std::string outputsProblem(const std::vector<NamedFile>& outputs, const std::vector<std::string>& what,
                           const std::string& storePath) {
    const std::string storeFile = storeFileOf(storePath);
    for (std::size_t k = 0; k < outputs.size(); ++k)
        if (!outputs[k].path.empty() && outputs[k].path != "-")
            if (std::string problem = outputPathProblem(outputs[k].path, what[k], storeFile); !problem.empty())
                return problem;
    return sharedFileProblem(outputs);
}

// The stored run `which` names ("last" or an id) as an id; 0 with `error`
// when the store holds no such run.
long long storedRunId(ResultsStore& store, const std::string& which, std::string& error) {
    if (which != "last") {
        const long long id = std::stoll(which);
        bool stored = false;
        if (!store.holds(id, stored, error)) {
            error = "cannot read " + store.path() + ": " + error;
            return 0;
        }
        if (!stored) error = "there is no run " + which + " in " + store.path();
        return stored ? id : 0;
    }
    std::vector<long long> ids;
    if (!store.newestIds(1, ids, error)) {
        error = "cannot read " + store.path() + ": " + error;
        return 0;
    }
    if (ids.empty()) error = store.path() + " holds no run yet";
    return ids.empty() ? 0 : ids.front();
}

// "2 runs of STORE cannot be read: #3, #7", for the exit status's one line.
std::string unreadableSummary(const std::vector<UnreadableRun>& unreadable, const ResultsStore& store) {
    std::string ids;
    for (const UnreadableRun& run : unreadable) ids += (ids.empty() ? "#" : ", #") + std::to_string(run.id);
    return std::to_string(unreadable.size()) + (unreadable.size() == 1 ? " run" : " runs") + " of " + store.path() +
           " cannot be read: " + ids;
}

}  // namespace


int runHistory(const HistoryOptions& options, const CliStreams& streams) {
    std::string error;
    const std::string path = options.storePath.empty() ? defaultStorePath(error) : options.storePath;
    if (path.empty()) return unreadable(streams, error);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) {
        // Nothing measured yet is no fault: the list is empty.
        std::fprintf(streams.out, "%s\n(no run is stored in %s yet)\n", historyHeading().c_str(),
                     terminalText(path).c_str());
        return 0;
    }
    std::unique_ptr<ResultsStore> store = openExistingStore(path, error);
    if (!store) return unreadable(streams, error);
    std::vector<long long> ids;
    if (!store->newestIds(0, ids, error)) return unreadable(streams, "cannot read " + store->path() + ": " + error);
    // A run at a time: a store may hold a great many.  The notes on runs
    // that are not directly comparable follow the table.
    const SavedRun here = thisProgram();
    std::vector<std::string> notes;
    std::vector<UnreadableRun> damaged;
    std::fprintf(streams.out, "%s\n", historyHeading().c_str());
    for (const long long id : ids) {
        SavedRun run;
        if (!store->load(id, run, error)) {
            // One damaged run costs its own line, not the list.
            std::fprintf(streams.out, "%s\n", historyUnreadableLine(id, error).c_str());
            damaged.push_back({id, error});
            continue;
        }
        std::fprintf(streams.out, "%s\n", historyLine(run, here).c_str());
        if (std::string note = historyNote(run, here); !note.empty()) notes.push_back(std::move(note));
    }
    for (const std::string& note : notes) std::fprintf(streams.out, "%s\n", note.c_str());
    if (ids.empty()) std::fprintf(streams.out, "(no run is stored in %s yet)\n", terminalText(store->path()).c_str());
    if (damaged.empty()) return 0;
    return unreadable(streams, unreadableSummary(damaged, *store) + " (marked ? above)");
}

int runReport(const ReportOptions& options, const CliStreams& streams) {
    if (const std::string problem =
            outputsProblem({{"-o", options.htmlPath}, {"--markdown", options.markdownPath}, {"--csv", options.csvPath}},
                           {"HTML report", "Markdown file", "CSV file"}, options.storePath);
        !problem.empty())
        return usageError(streams, "report: " + problem);

    std::string error;
    std::unique_ptr<ResultsStore> store = openExistingStore(options.storePath, error);
    if (!store) return unreadable(streams, error);
    std::vector<long long> ids;
    for (const std::string& which : options.runs) {
        const long long id = storedRunId(*store, which, error);
        if (id == 0) return unreadable(streams, "report: " + error);
        ids.push_back(id);
    }
    if (ids.empty() && !store->newestIds(options.last, ids, error))
        return unreadable(streams, "cannot read " + store->path() + ": " + error);
    if (ids.empty()) return unreadable(streams, store->path() + " holds no run to report");
    std::vector<SavedRun> runs;
    std::vector<UnreadableRun> damaged;
    if (const std::string problem = loadRuns(*store, ids, runs, damaged); !problem.empty())
        return unreadable(streams, problem);
    // The report shows every run that can be read; each one left out is
    // named with its reason, and the exit status says so.
    for (const UnreadableRun& run : damaged)
        printWarning(streams, "run " + std::to_string(run.id) + " is left out of the report: it cannot be read: " +
                                  run.reason);
    if (runs.empty()) return unreadable(streams, "not one of the chosen runs can be read, so no report is written");
    if (!writeReportFiles({options.htmlPath, options.markdownPath, options.csvPath}, runs, streams)) return 1;
    return damaged.empty() ? 0 : kStatusUnreadable;
}

int runExport(const ExportOptions& options, const CliStreams& streams) {
    if (const std::string problem = outputsProblem({{"-o", options.outputPath}}, {"results file"}, options.storePath);
        !problem.empty())
        return usageError(streams, "export: " + problem);

    std::string error;
    std::unique_ptr<ResultsStore> store = openExistingStore(options.storePath, error);
    if (!store) return unreadable(streams, error);
    const long long id = storedRunId(*store, options.run, error);
    if (id == 0) return unreadable(streams, "export: " + error);
    ResultsDocument document;
    std::string text;
    if (!store->exportRun(id, document, error, &text))
        return unreadable(streams, "cannot export run " + std::to_string(id) + " from " + store->path() + ": " + error);
    if (const std::string problem = writeDocument(options.outputPath.empty() ? "-" : options.outputPath, text, streams.out);
        !problem.empty())
        return storeError(streams, problem);
    return 0;
}

int runImport(const ImportOptions& options, const CliStreams& streams) {
    std::string error;
    std::unique_ptr<ResultsStore> store = openResultsStore(options.storePath, error);
    if (!store) return storeError(streams, error);
    int status = 0;
    for (const std::string& file : options.files) {
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
