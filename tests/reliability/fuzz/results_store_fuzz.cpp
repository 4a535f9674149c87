// libFuzzer entry for loading runs from a results store: whatever bytes
// arrive are the store's file, opened as history, report and export open
// it, every report is rendered from the runs it gives, and each run it
// exports is checked as it travels on.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/results/results_store.h"
#include "reliability/fuzz/report_checks.h"

namespace {

const std::string& storePath() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/pelorin-fuzz-" + std::to_string(getpid()) + ".sqlite";
    }();
    return path;
}

// A log or journal left by the last input must not be read with this one.
void removeStore() {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::remove((storePath() + suffix).c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    removeStore();
    std::FILE* file = std::fopen(storePath().c_str(), "wb");
    if (!file) std::abort();
    if (size && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);

    std::string error;
    std::unique_ptr<ResultsStore> store = ResultsStore::openForReading(storePath(), error);
    std::vector<SavedRun> runs;
    std::vector<long long> ids;
    if (store && store->newestIds(0, ids, error)) {
        for (const long long id : ids) {
            SavedRun run;
            if (store->load(id, run, error))
                runs.push_back(std::move(run));
            else
                checkUnreadableLine(id, error);
            // What export passes on must read back as the run it is, and travel.
            ResultsDocument exported;
            SavedRun again;
            std::string text;
            if (store->exportRun(id, exported, error, &text)) {
                if (!readSavedRun(exported, again, error)) {
                    std::fprintf(stderr, "an exported run does not read back: %s\n", error.c_str());
                    std::abort();
                }
                checkExport(text);
            }
            if (runs.size() == 8) break;  // enough to render; a store may hold many
        }
    }
    store.reset();
    removeStore();
    if (!runs.empty()) renderAndCheck(runs);
    return 0;
}
