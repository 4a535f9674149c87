// Runs that travel between stores: their random ids, labels, and a run
// given back by export exactly as it came, and known again by import.
#include <gtest/gtest.h>

#include <set>

#include "cli/cli_fixture.h"
#include "cli/results/results_store.h"
#include "cli/results/run_label.h"
#include "cli/results/run_uuid.h"
#include "cli/sqlite_probe.h"

namespace {

// Every kind of result entry: frame times, bandwidth, precise rates, and a
// figure of two threads with each thread's own figure; samples that a text
// or float conversion would bend.
ResultsDocument everyKindOfRun() {
    RunResults results = sampleResults(1.0);
    results.samples[0] = {0.1, 1.0 / 3.0, 4.9406564584124654e-324};
    ThreadedResults two;
    two.threads = 2;
    two.cpus = {0, 1};
    two.samples[6] = {80000.125, 81000.5, 79000.25};
    two.kernelSeconds[6] = {0.05, 0.0, 0.051};  // the second pass's kernel did not say
    two.perThread[6] = {{40000, 40100}, {40500, 40400}, {39500, 39600}};
    results.threaded.push_back(two);
    RunFacts facts = sampleFacts();
    facts.label = "office desktop \xE2\x80\x94 driver 24.3";
    return resultsDocument(results, sampleOptions(), sampleSystem(), {"a warning", "another"}, facts);
}

TEST(RunUuid, EachDocumentGetsItsOwnVersionFourId) {
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        const std::string id = newRunUuid();
        ASSERT_TRUE(isRunUuid(id)) << id;
        EXPECT_EQ(id[14], '4') << id;                                  // version 4
        EXPECT_NE(std::string("89ab").find(id[19]), std::string::npos) << id;  // RFC 4122 variant
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 1000u);
    const ResultsDocument a = sampleDocument(1.0), b = sampleDocument(1.0);
    EXPECT_TRUE(isRunUuid(a["run_uuid"].get<std::string>()));
    EXPECT_NE(a["run_uuid"], b["run_uuid"]);
    for (const char* bad : {"", "not-a-uuid", "1b4e28ba-2fa1-4d2b-a83c-0e02b2c3d47", "1b4e28ba+2fa1-4d2b-a83c-0e02b2c3d479"})
        EXPECT_FALSE(isRunUuid(bad)) << bad;
}

TEST(RunLabel, BoundedTextWithoutControlCharacters) {
    for (const std::string& good : std::vector<std::string>{"office desktop", "driver 24.3", "\xE6\x9D\xB1\xE4\xBA\xAC lab", std::string(200, 'x')})
        EXPECT_EQ(labelProblem(good), "") << good;
    const std::pair<std::string, const char*> bad[] = {
        {"", "needs some text"},
        {std::string(201, 'x'), "at most 200 bytes"},
        {"red \x1b[31m", "control characters"},
        {"two\nlines", "control characters"},
        {"csi \xC2\x9B", "control characters"},  // C1, as UTF-8
        {"cut \xE6\x9D", "UTF-8"},
        {"\xFF", "UTF-8"},
    };
    for (const auto& [label, says] : bad) EXPECT_NE(labelProblem(label).find(says), std::string::npos) << says;

    // A document whose label breaks the rule is refused like a broken one.
    ResultsDocument doc = sampleDocument(1.0);
    doc["label"] = "\x1b]0;title\x07";
    SavedRun run;
    std::string reason;
    EXPECT_FALSE(readSavedRun(doc, run, reason));
    EXPECT_NE(reason.find("label"), std::string::npos) << reason;
    doc["label"] = "ok";
    doc["run_uuid"] = "12345";
    EXPECT_FALSE(readSavedRun(doc, run, reason));
    EXPECT_NE(reason.find("run_uuid"), std::string::npos) << reason;
}

// A stored run's export is the document it was saved from, byte for byte;
// imported into an empty store and exported again, it is that document still.
TEST(StoreTravel, ExportImportExportGivesTheDocumentBackBitForBit) {
    const ResultsDocument original = everyKindOfRun();
    keepDocument("every_kind_of_run", original);
    std::unique_ptr<ResultsStore> first = openStore(freshTempPath("travel_first.sqlite"));
    const std::string secondPath = freshTempPath("travel_second.sqlite");
    std::unique_ptr<ResultsStore> second = openStore(secondPath);
    ASSERT_TRUE(first && second);
    std::string error;
    ASSERT_EQ(first->save(sampleDocument(2.0), error), 1) << error;  // ids differ between the stores
    ASSERT_EQ(first->save(original, error), 2) << error;

    ResultsDocument exported;
    ASSERT_TRUE(first->exportRun(2, exported, error)) << error;
    EXPECT_EQ(documentText(exported), documentText(original));
    keepDocument("exported", exported);

    bool alreadyStored = true;
    ASSERT_EQ(second->importRun(parsed(documentText(exported)), alreadyStored, error), 1) << error;
    EXPECT_FALSE(alreadyStored);
    ResultsDocument again;
    ASSERT_TRUE(second->exportRun(1, again, error)) << error;
    EXPECT_EQ(documentText(again), documentText(exported));

    SavedRun run;
    ASSERT_TRUE(second->load(1, run, error)) << error;
    EXPECT_EQ(run.uuid, original["run_uuid"]);
    EXPECT_EQ(run.label, original["label"]);
    EXPECT_EQ(run.benchmarkVersion, PELORIN_VERSION);
    EXPECT_EQ(run.startedAt, sampleFacts().startedAt);
    EXPECT_EQ(run.figures.back().threads, 2);
    EXPECT_FALSE(second->exportRun(2, again, error));
    EXPECT_NE(error.find("no run 2"), std::string::npos) << error;
    SqliteProbe(secondPath).exec("UPDATE runs SET label = CAST(x'C3' AS TEXT)");  // a store made by hand
    EXPECT_FALSE(second->exportRun(1, again, error));
    EXPECT_NE(error.find("not UTF-8"), std::string::npos) << error;
}

// A document with a run_uuid is known by it; one without (written before
// version 4) by its content, also against runs stored before the store
// kept either.
TEST(StoreTravel, ImportKnowsARunItHoldsByIdOrContent) {
    const std::string path = freshTempPath("travel_known.sqlite");
    {
        SqliteProbe old(path);  // a store of the first layout, with one run
        ASSERT_EQ(old.exec(readFile(std::string(PELORIN_SOURCE_DIR) + "/tests/cli/fixtures/store_v1.sql")), SQLITE_OK);
    }
    std::unique_ptr<ResultsStore> store = openStore(path);
    ASSERT_TRUE(store);
    std::string error;
    bool already = false;

    const ResultsDocument current = sampleDocument(1.0);
    EXPECT_EQ(store->importRun(current, already, error), 2) << error;
    EXPECT_FALSE(already);
    EXPECT_EQ(store->importRun(current, already, error), 2) << error;
    EXPECT_TRUE(already);

    ResultsDocument older = sampleDocument(3.0);  // as version 3 wrote it
    older["schema_version"] = 3;
    for (const char* key : {"run_uuid", "benchmark_version", "label", "started_at", "command_line"}) older.erase(key);
    keepDocument("version_3", older);
    EXPECT_EQ(store->importRun(older, already, error), 3) << error;
    EXPECT_FALSE(already);
    // The same content however it is spelled: keys in another order, a
    // sample written as a whole number.
    ResultsDocument respelled = parsed(nlohmann::json::parse(documentText(older)).dump());
    respelled["results"][1]["samples"][0] = 120000;
    EXPECT_EQ(store->importRun(respelled, already, error), 3) << error;
    EXPECT_TRUE(already);
    ResultsDocument otherSample = older;  // the same median, another sample
    otherSample["results"][1]["samples"][1] = 123000.5;
    EXPECT_EQ(store->importRun(otherSample, already, error), 4) << error;
    EXPECT_FALSE(already);

    // The run of the first layout, as the version 1 file of that run held it.
    ResultsDocument first = parsed(R"({"schema_version": 1, "generator": "pelorin-cli", "results": [
        {"id": "FontSpeed1", "stage": 1, "label": "Font Speed 1", "unit": "fps", "median": 91.0,
         "samples": [90.0, 92.0, 91.0], "reference": {"value": 45.0, "ratio": 2.0222}},
        {"id": "calc_add", "stage": 8, "label": "Calc ADD", "unit": "times/S", "median": 705000000.125,
         "samples": [700000000.5, 710000000.25, 705000000.125], "reference": {"value": 806451612.0, "ratio": 0.87}}],
        "warnings": []})");
    first["system"] = nlohmann::ordered_json::parse(SqliteProbe(path).text("SELECT system FROM runs WHERE id = 1"));
    first["config"] = nlohmann::ordered_json::parse(SqliteProbe(path).text("SELECT config FROM runs WHERE id = 1"));
    EXPECT_EQ(store->importRun(first, already, error), 1) << error;
    EXPECT_TRUE(already);
    EXPECT_EQ(SqliteProbe(path).number("SELECT count(*) FROM runs"), 4);
    EXPECT_EQ(SqliteProbe(path).number("SELECT count(*) FROM runs WHERE content_digest IS NULL"), 0);

    // The old run exports as a whole document of this version.
    ResultsDocument exported;
    ASSERT_TRUE(store->exportRun(1, exported, error)) << error;
    keepDocument("exported_from_first_layout", exported);
    EXPECT_TRUE(exported["run_uuid"].is_null());
    EXPECT_EQ(exported["results"][1]["samples"], first["results"][1]["samples"]);
    EXPECT_EQ(exported["results"][1]["best_run_seconds"], (std::vector<double>{0.142, 0.141, 0.1415}));
    // ... and travels on unchanged from there.
    std::unique_ptr<ResultsStore> empty = openStore(freshTempPath("travel_old_run.sqlite"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->importRun(parsed(documentText(exported)), already, error), 1) << error;
    ResultsDocument again;
    ASSERT_TRUE(empty->exportRun(1, again, error)) << error;
    EXPECT_EQ(documentText(again), documentText(exported));
}

}  // namespace
