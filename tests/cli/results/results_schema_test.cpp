// The results document: what it holds, and that it and documents that
// break it reach the schema check (cli_documents_schema) in the documents
// folder.
#include <gtest/gtest.h>

#include "cli/cli_fixture.h"
#include "cli/results/results_document.h"
#include "cli/run/system_info.h"

namespace {

TEST(ResultsSchema, WrittenDocumentsReachTheSchemaCheck) {
    keepDocument("sample", sampleDocument(1.0));

    RunResults one;
    one.passes = 1;
    one.samples[16] = {1e9};
    one.kernelSeconds[16] = {0.0};  // a kernel that did not say how long it took
    SystemInfo bare;
    Options options;
    options.stages = {8};
    const ResultsDocument doc = parsed(documentText(resultsDocument(one, options, bare, {}, {})));
    keepDocument("without_intervals_or_frames", doc);
    EXPECT_TRUE(doc["results"][0]["precise_ops_per_s"].is_null());
    EXPECT_TRUE(doc["system"]["display"].is_null());
    EXPECT_TRUE(doc["results"][0]["median_interval"].is_null());
}

// Each must fail the schema check, or the check proves nothing.
TEST(ResultsSchema, BrokenDocumentsReachTheSchemaCheckToo) {
    ResultsDocument noMedian = sampleDocument(1.0);
    noMedian["results"][0].erase("median");
    keepBrokenDocument("no_median", noMedian);

    ResultsDocument futureVersion = sampleDocument(1.0);
    futureVersion["schema_version"] = kSchemaVersion + 1;
    keepBrokenDocument("future_version", futureVersion);

    ResultsDocument fractionalTime = sampleDocument(1.0);
    fractionalTime["config"]["time_s"] = 1.5;
    keepBrokenDocument("fractional_time", fractionalTime);

    ResultsDocument surprise = sampleDocument(1.0);
    surprise["system"]["surprise"] = 1;
    keepBrokenDocument("unknown_system_field", surprise);

    ResultsDocument furlongs = sampleDocument(1.0);
    furlongs["results"][0]["unit"] = "furlongs";
    keepBrokenDocument("unknown_unit", furlongs);

    ResultsDocument noArchitecture = sampleDocument(1.0);  // required from version 2 on
    noArchitecture["system"].erase("architecture");
    keepBrokenDocument("version_2_without_architecture", noArchitecture);

    ResultsDocument noRunUuid = sampleDocument(1.0);  // required, if null, from version 4 on
    noRunUuid.erase("run_uuid");
    keepBrokenDocument("version_4_without_run_uuid", noRunUuid);

    ResultsDocument commandingLabel = sampleDocument(1.0);
    commandingLabel["label"] = "\x1b[2J";
    keepBrokenDocument("label_with_control_characters", commandingLabel);

    ResultsDocument noRule = sampleDocument(1.0);  // required from version 4 on
    noRule["config"].erase("repeat_rule");
    keepBrokenDocument("version_4_without_repeat_rule", noRule);
    ResultsDocument ruleWithoutLimit = sampleDocument(1.0);
    ruleWithoutLimit["config"]["repeat_rule"] = {{"rule", "auto"}, {"settle_percent", 3}, {"unsettled", {}}};
    keepBrokenDocument("auto_repeat_rule_without_limits", ruleWithoutLimit);
}

TEST(ResultsSchema, FiguresCarryTheirStatisticsAndReference) {
    const ResultsDocument doc = parsed(documentText(sampleDocument(1.0)));
    EXPECT_EQ(doc["schema_version"], kSchemaVersion);
    EXPECT_EQ(doc["system"]["architecture"], machineArchitecture());
    const ResultsDocument& results = doc["results"];
    ASSERT_EQ(results.size(), 11u);  // FontSpeed1, nine memory figures, calc_add
    const ResultsDocument& font = results[0];
    EXPECT_EQ(font["id"], "FontSpeed1");
    EXPECT_EQ(font["label"], "Font Speed 1");
    EXPECT_EQ(font["unit"], "fps");
    EXPECT_EQ(font["median"], 100.0);
    EXPECT_EQ(font["reference"]["value"], 45.0);
    EXPECT_DOUBLE_EQ(font["reference"]["ratio"].get<double>(), 100.0 / 45.0);
    EXPECT_EQ(font["median_interval"]["low"], 98.0);
    EXPECT_EQ(font["median_interval"]["coverage"], 0.75);
    EXPECT_EQ(font["frame_time_ms"]["frames"], 300);
    EXPECT_NEAR(font["frame_time_ms"]["present_median"].get<double>(), 0.05, 1e-12);

    const ResultsDocument& read = results[1];
    EXPECT_EQ(read["label"], "Read Memory");
    EXPECT_EQ(read["unit"], "MB/S");
    // 40000 on the "MB/S" scale is 10000 MiB/s: 10.48576 GB/s.
    EXPECT_NEAR(read["bandwidth_gb_per_s"]["median"].get<double>(), 10.48576, 1e-9);

    const ResultsDocument& add = results[10];
    EXPECT_EQ(add["label"], "Calc ADD");
    EXPECT_EQ(add["unit"], "times/S");
    EXPECT_NEAR(add["precise_ops_per_s"]["median"].get<double>(), 1e8 / 0.124, 1e-3);
}

// Numbers go through the text unchanged, and text that is not a document
// is refused with where the fault is.
TEST(ResultsSchema, TextRoundTripAndBadText) {
    ResultsDocument doc = sampleDocument(1.0);
    doc["results"][0]["samples"] = {0.1, 1.0 / 3.0, 1e-310, 123456789.123456789, 1.7976931348623157e308};
    const ResultsDocument back = parsed(documentText(doc));
    EXPECT_EQ(back["results"][0]["samples"].get<std::vector<double>>(),
              doc["results"][0]["samples"].get<std::vector<double>>());
    EXPECT_EQ(back, doc);

    ResultsDocument out;
    std::string error;
    EXPECT_FALSE(parseDocument("{\"a\": [1, 2,]}", out, error));
    EXPECT_NE(error.find("line 1"), std::string::npos) << error;
    EXPECT_FALSE(parseDocument("{} extra", out, error));
}

}  // namespace
