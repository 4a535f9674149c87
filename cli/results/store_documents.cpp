#include "cli/results/store_documents.h"

#include <algorithm>
#include <vector>

#include "cli/results/run_content.h"
#include "cli/results/sqlite_statement.h"
#include "cli/run/statistics.h"

namespace {

using Json = ResultsDocument;

void bindTextOrNull(Statement& s, int index, const std::string& text) {
    if (text.empty())
        s.bindNull(index);
    else
        s.bind(index, text);
}

// A figure's entry as the document held it, its samples and best runs
// (which the samples table keeps exactly) left null, with the thread count
// that documents before version 3 lack filled in as an export gives it: so
// that the entry of a run imported again is the one stored first.
Json entryWithoutSamples(const Json& result, int threads) {
    Json entry = result;
    entry["samples"] = nullptr;
    if (entry.contains("best_run_seconds")) entry["best_run_seconds"] = nullptr;
    if (!entry.contains("threads")) entry["threads"] = threads;
    return entry;
}

struct StoredSamples {
    std::vector<double> values;
    Json bestRuns = Json::array();  // a number or null for each sample
    bool anyBestRun = false;
};

// At most `limit` samples; more is refused, as a run may not hold them.
StoredSamples samplesOf(sqlite3* db, long long figureRow, std::size_t limit) {
    StoredSamples out;
    Statement s(db, "SELECT value, best_run_seconds FROM samples WHERE figure_row = ? ORDER BY position LIMIT ?");
    s.bind(1, figureRow).bind(2, static_cast<long long>(limit) + 1);
    while (s.step()) {
        if (out.values.size() == limit) throw StoreError("it holds more samples than a run may");
        out.values.push_back(s.real(0));
        out.bestRuns.push_back(s.isNull(1) ? Json() : Json(s.real(1)));
        out.anyBestRun = out.anyBestRun || !s.isNull(1);
    }
    return out;
}

// The entry of a figure stored before the store kept entries, from its
// columns and samples: what every version of the document held.
Json entryFromColumns(const Statement& row, const StoredSamples& samples) {
    const Summary s = summarize(samples.values);
    const double reference = row.real(5);
    Json r;
    r["id"] = row.text(1);
    r["stage"] = row.integer(2);
    r["threads"] = row.integer(6);
    r["label"] = row.text(3);
    r["unit"] = row.text(4);
    r["higher_is_better"] = true;
    r["samples"] = samples.values;
    putMedianAndRange(r, s);
    r["reference"] = Json{{"value", reference}, {"ratio", reference > 0.0 ? Json(s.median / reference) : Json()}};
    if (samples.anyBestRun) r["best_run_seconds"] = samples.bestRuns;
    return r;
}

Json resultsOf(sqlite3* db, long long id) {
    Json results = Json::array();
    Statement row(db,
                  "SELECT id, figure, stage, label, unit, reference, threads, entry FROM figures WHERE run_id = ? "
                  "ORDER BY id");
    row.bind(1, id);
    std::size_t samplesLeft = kMaxSamplesPerRun;
    while (row.step()) {
        if (results.size() == kMaxFiguresPerRun) throw StoreError("it holds more figures than a run may");
        const StoredSamples samples = samplesOf(db, row.integer(0), std::min(samplesLeft, kMaxSamplesPerFigure));
        samplesLeft -= samples.values.size();
        Json entry = row.isNull(7) ? Json() : storedJson(row.text(7), "figure entry");
        if (!entry.is_object()) {
            results.push_back(entryFromColumns(row, samples));
            continue;
        }
        entry["samples"] = samples.values;
        if (entry.contains("best_run_seconds")) entry["best_run_seconds"] = samples.bestRuns;
        if (!entry.contains("threads")) entry["threads"] = row.integer(6);  // documents before version 3
        results.push_back(std::move(entry));
    }
    return results;
}

// The canonical content of stored run `id`; "" when it cannot be read as a run.
std::string storedContent(sqlite3* db, long long id) {
    try {
        const Json document = storedDocument(db, id);
        SavedRun run;
        std::string reason;
        return readSavedRun(document, run, reason) ? runContent(document, run) : "";
    } catch (const StoreError&) {
        return "";
    }
}

// Runs stored before the store kept a content digest get theirs.
void fillMissingDigests(sqlite3* db) {
    std::vector<long long> ids;
    Statement missing(db, "SELECT id FROM runs WHERE content_digest IS NULL");
    while (missing.step()) ids.push_back(missing.integer(0));
    Statement update(db, "UPDATE runs SET content_digest = ? WHERE id = ?");
    for (const long long id : ids) update.bind(1, contentDigest(storedContent(db, id))).bind(2, id).run();
}

}  // namespace

long long insertRun(sqlite3* db, const ResultsDocument& doc, const SavedRun& run) {
    const auto system = doc.find("system");
    const auto config = doc.find("config");
    if (system == doc.end() || !system->is_object() || config == doc.end() || !config->is_object())
        throw StoreError("it has no system description or configuration");
    const auto commandLine = doc.find("command_line");
    Statement insert(db,
                     "INSERT INTO runs (started_at, command_line, cpu, architecture, system, config, run_uuid, "
                     "benchmark_version, label, content_digest) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    insert.bind(1, run.startedAt)
        // "null" when the document does not say, as documents before version 4.
        .bind(2, commandLine != doc.end() && commandLine->is_array() ? Json(run.commandLine).dump() : "null")
        .bind(3, run.cpu)
        .bind(4, run.architecture)
        .bind(5, system->dump())
        .bind(6, config->dump())
        .bind(10, contentDigest(runContent(doc, run)));
    bindTextOrNull(insert, 7, run.uuid);
    bindTextOrNull(insert, 8, run.benchmarkVersion);
    bindTextOrNull(insert, 9, run.label);
    insert.run();
    const long long runId = sqlite3_last_insert_rowid(db);

    Statement warning(db, "INSERT INTO warnings (run_id, position, text) VALUES (?, ?, ?)");
    long long position = 0;
    for (const std::string& w : run.warnings) warning.bind(1, runId).bind(2, position++).bind(3, w).run();

    Statement figure(db,
                     "INSERT INTO figures (run_id, figure, stage, label, unit, reference, threads, entry) "
                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    Statement sample(db, "INSERT INTO samples (figure_row, position, value, best_run_seconds) VALUES (?, ?, ?, ?)");
    // readSavedRun read one figure for each result, in order.
    const Json& results = doc.at("results");
    for (std::size_t i = 0; i < run.figures.size(); ++i) {
        const SavedFigure& f = run.figures[i];
        const Json& result = results.at(i);
        figure.bind(1, runId)
            .bind(2, f.id)
            .bind(3, static_cast<long long>(f.stage))
            .bind(4, f.label)
            .bind(5, f.unit)
            .bind(6, f.reference)
            .bind(7, static_cast<long long>(f.threads))
            .bind(8, entryWithoutSamples(result, f.threads).dump())
            .run();
        const long long figureRow = sqlite3_last_insert_rowid(db);
        const auto bestRuns = result.find("best_run_seconds");
        for (std::size_t s = 0; s < f.samples.size(); ++s) {
            sample.bind(1, figureRow).bind(2, static_cast<long long>(s)).bind(3, f.samples[s]);
            if (bestRuns != result.end() && bestRuns->is_array() && s < bestRuns->size() && (*bestRuns)[s].is_number())
                sample.bind(4, (*bestRuns)[s].get<double>());
            else
                sample.bindNull(4);
            sample.run();
        }
    }
    return runId;
}

ResultsDocument storedJson(const std::string& text, const char* what) {
    ResultsDocument value;
    std::string error;
    if (!parseDocument(text, value, error))
        throw StoreError(std::string("its ") + what + " is not JSON as pelorin-cli writes it: " + error);
    return value;
}

ResultsDocument storedDocument(sqlite3* db, long long id) {
    Statement run(db,
                  "SELECT started_at, command_line, system, config, run_uuid, benchmark_version, label "
                  "FROM runs WHERE id = ?");
    run.bind(1, id);
    if (!run.step()) throw StoreError("there is no run " + std::to_string(id));
    Json system = storedJson(run.text(2), "system description");
    Json config = storedJson(run.text(3), "configuration");
    fillOlderDefaults(system, config);
    const Json commandLine = storedJson(run.text(1), "command line");

    Json doc;
    doc["schema_version"] = kSchemaVersion;
    doc["generator"] = "pelorin-cli";
    doc["run_uuid"] = textOrNull(run.text(4));
    doc["benchmark_version"] = textOrNull(run.text(5));
    doc["label"] = textOrNull(run.text(6));
    doc["started_at"] = textOrNull(run.text(0));
    doc["command_line"] = commandLine.is_array() ? commandLine : Json();
    doc["system"] = system;
    doc["config"] = config;
    doc["results"] = resultsOf(db, id);
    Json warnings = Json::array();
    Statement warning(db, "SELECT text FROM warnings WHERE run_id = ? ORDER BY position");
    warning.bind(1, id);
    while (warning.step()) warnings.push_back(warning.text(0));
    doc["warnings"] = warnings;
    return doc;
}

long long findStoredRun(sqlite3* db, const ResultsDocument& doc, const SavedRun& run) {
    if (!run.uuid.empty()) {
        Statement byUuid(db, "SELECT id FROM runs WHERE run_uuid = ?");
        byUuid.bind(1, run.uuid);
        return byUuid.step() ? byUuid.integer(0) : 0;
    }
    fillMissingDigests(db);
    const std::string content = runContent(doc, run);
    std::vector<long long> candidates;
    Statement byDigest(db, "SELECT id FROM runs WHERE content_digest = ? ORDER BY id");
    byDigest.bind(1, contentDigest(content));
    while (byDigest.step()) candidates.push_back(byDigest.integer(0));
    for (const long long id : candidates)
        if (storedContent(db, id) == content) return id;
    return 0;
}
