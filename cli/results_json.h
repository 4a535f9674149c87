// The results document that --json writes and --compare reads back.  Its
// shape is described by cli/results.schema.json; keep the two together.
#pragma once

#include <string>
#include <vector>

#include "cli/json.h"
#include "cli/options.h"
#include "cli/run_results.h"
#include "cli/system_info.h"

constexpr int kSchemaVersion = 1;

Json resultsDocument(const RunResults& results, const Options& options, const SystemInfo& system,
                     const std::vector<std::string>& warnings);

// One figure of a saved document, as --compare needs it.
struct SavedFigure {
    std::string id;
    std::string label;
    std::string unit;
    double median = 0.0;
    bool hasInterval = false;
    double low = 0.0;
    double high = 0.0;
};

struct SavedRun {
    std::string cpu;
    std::vector<SavedFigure> figures;
    const SavedFigure* find(const std::string& id) const;
};

// Reads a document written by resultsDocument.  On failure returns false
// with a short reason ("not JSON: ...", "no schema_version 1", ...).
bool readSavedRun(const Json& document, SavedRun& out, std::string& reason);
