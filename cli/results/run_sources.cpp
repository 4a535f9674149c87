#include "cli/results/run_sources.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

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
    if (!fs::exists(path)) {
        error = "no run is stored yet: " + path + " does not exist";
        return nullptr;
    }
    return openResultsStore(path, error);
}

bool namesStoredRun(const std::string& which) { return which == "last" || allDigits(which); }

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
    std::string text, error;
    if (!readWholeFile(which, text, error)) return "cannot read the compare file '" + which + "': " + error;
    ResultsDocument doc;
    if (const std::string problem = readResultsText(text, doc, out); !problem.empty())
        return "'" + which + "' is not a pelorin-cli results file: " + problem;
    return "";
}

bool readWholeFile(const std::string& path, std::string& text, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = std::strerror(errno);
        return false;
    }
    std::ostringstream whole;
    whole << in.rdbuf();
    text = whole.str();
    return true;
}

std::string readResultsText(const std::string& text, ResultsDocument& document, SavedRun& run) {
    std::string error;
    if (!parseDocument(text, document, error)) return "not JSON (" + error + ")";
    if (!readSavedRun(document, run, error)) return error;
    return "";
}

std::string loadRuns(ResultsStore& store, const std::vector<long long>& ids, std::vector<SavedRun>& runs) {
    for (const long long id : ids) {
        SavedRun run;
        std::string error;
        if (!store.load(id, run, error))
            return "cannot read run " + std::to_string(id) + " from " + store.path() + ": " + error;
        runs.push_back(std::move(run));
    }
    return "";
}
