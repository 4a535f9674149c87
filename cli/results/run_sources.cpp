#include "cli/results/run_sources.h"

#include <filesystem>
#include <set>

#include "cli/results/bounded_json.h"
#include "cli/results/input_file.h"

namespace fs = std::filesystem;

bool allDigits(const std::string& text) {
    if (text.empty() || text.size() > 18) return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

std::unique_ptr<ResultsStore> openResultsStore(const std::string& chosenPath, std::string& error) {
    std::string path = chosenPath;
    if (path.empty()) path = defaultStorePath(error);
    if (path.empty()) return nullptr;
    std::string reason;
    std::unique_ptr<ResultsStore> store = ResultsStore::open(path, reason);
    if (!store) error = "the results store " + path + " cannot be used: " + reason;
    return store;
}

std::unique_ptr<ResultsStore> openExistingStore(const std::string& chosenPath, std::string& error) {
    std::string path = chosenPath;
    if (path.empty()) path = defaultStorePath(error);
    if (path.empty()) return nullptr;
    std::error_code ec;
    if (!fs::exists(path, ec) && !ec) {
        error = "no run is stored yet: " + path + " does not exist";
        return nullptr;
    }
    std::string reason;
    std::unique_ptr<ResultsStore> store = ResultsStore::openForReading(path, reason);
    if (!store) error = "the results store " + path + " cannot be read: " + reason;
    return store;
}

bool namesStoredRun(const std::string& which) { return which == "last" || allDigits(which); }

bool readDocumentFile(const std::string& path, ResultsDocument& out, std::string& error) {
    std::string text;
    return readInputFile(path, kMaxJsonBytes, text, error) && parseDocument(text, out, error);
}

std::string loadCompareRun(const std::string& which, const std::string& storePath, SavedRun& out) {
    if (namesStoredRun(which)) {
        std::string error;
        std::unique_ptr<ResultsStore> store = openExistingStore(storePath, error);
        if (!store) return "cannot compare with run '" + which + "': " + error;
        long long id = 0;
        if (which == "last") {
            std::vector<long long> ids;
            if (!store->newestIds(1, ids, error)) return "cannot read " + store->path() + ": " + error;
            if (ids.empty()) return "cannot compare with the last run: " + store->path() + " holds no run";
            id = ids.front();
        } else {
            id = std::stoll(which);
        }
        if (!store->load(id, out, error)) return "cannot compare with run " + which + ": " + error;
        return "";
    }
    ResultsDocument doc;
    std::string error;
    if (!readDocumentFile(which, doc, error)) return "cannot read the compare file '" + which + "': " + error;
    if (!readSavedRun(doc, out, error)) return "'" + which + "' is not a pelorin-cli results file: " + error;
    return "";
}

std::string loadRuns(ResultsStore& store, const std::vector<long long>& ids, std::vector<SavedRun>& runs,
                     std::vector<UnreadableRun>& unreadable) {
    std::size_t figures = 0, samples = 0;
    for (const long long id : ids) {
        SavedRun run;
        std::string error;
        if (!store.load(id, run, error)) {
            unreadable.push_back({id, error});
            continue;
        }
        figures += run.figures.size();
        for (const SavedFigure& f : run.figures) samples += f.samples.size();
        if (figures > kMaxReportFigures || samples > kMaxReportSamples)
            return "the chosen runs hold more than " + std::to_string(kMaxReportFigures) + " figures or " +
                   std::to_string(kMaxReportSamples) + " samples together: choose fewer runs";
        runs.push_back(std::move(run));
    }
    // A report's rows: each figure, and each name in the system descriptions.
    std::set<std::string> systemNames;
    for (const SavedRun& run : runs)
        for (const auto& fact : run.system) systemNames.insert(fact.first);
    if ((figureKeysOf(runs).size() + systemNames.size()) * runs.size() > kMaxReportCells)
        return "the chosen runs would make a report of more than " + std::to_string(kMaxReportCells) +
               " cells (figures by runs): choose fewer runs";
    return "";
}
