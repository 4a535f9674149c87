#include <gtest/gtest.h>

#include "cli/cli_fixture.h"
#include "cli/results_json.h"
#include "cli/schema_validator.h"

namespace {

Json sampleDocument() {
    return parsed(writeJson(resultsDocument(sampleResults(1.0), sampleOptions(), sampleSystem(), {"a warning"})));
}

Json* member(Json& object, const std::string& key) {
    for (auto& m : object.members)
        if (m.first == key) return &m.second;
    return nullptr;
}

TEST(ResultsSchema, WrittenDocumentSatisfiesTheSchema) {
    const std::vector<std::string> errors = validateAgainstSchema(sampleDocument(), loadSchema());
    for (const std::string& e : errors) ADD_FAILURE() << e;
}

TEST(ResultsSchema, DocumentOfARunWithoutIntervalsOrFramesSatisfiesItToo) {
    RunResults one;
    one.passes = 1;
    one.samples[16] = {1e9};
    one.kernelSeconds[16] = {0.0};  // a kernel that did not say how long it took
    SystemInfo bare;
    Options options;
    options.stages = {8};
    const Json doc = parsed(writeJson(resultsDocument(one, options, bare, {})));
    const std::vector<std::string> errors = validateAgainstSchema(doc, loadSchema());
    for (const std::string& e : errors) ADD_FAILURE() << e;
    EXPECT_EQ(doc.find("results")->items[0].find("precise_ops_per_s")->type, Json::Type::Null);
    EXPECT_EQ(doc.find("system")->find("display")->type, Json::Type::Null);
}

// The validator must see real faults, or the test above proves nothing.
TEST(ResultsSchema, ValidatorCatchesBrokenDocuments) {
    const Json schema = loadSchema();
    {
        Json doc = sampleDocument();
        Json& first = member(doc, "results")->items[0];
        first.members.erase(first.members.begin() + 6);  // "median"
        EXPECT_FALSE(validateAgainstSchema(doc, schema).empty());
    }
    {
        Json doc = sampleDocument();
        *member(doc, "schema_version") = Json::of(2);
        EXPECT_FALSE(validateAgainstSchema(doc, schema).empty());
    }
    {
        Json doc = sampleDocument();
        *member(*member(doc, "config"), "time_s") = Json::of(1.5);
        EXPECT_FALSE(validateAgainstSchema(doc, schema).empty());
    }
    {
        Json doc = sampleDocument();
        member(doc, "system")->set("surprise", Json::of(1));
        EXPECT_FALSE(validateAgainstSchema(doc, schema).empty());
    }
    {
        Json doc = sampleDocument();
        *member(member(doc, "results")->items[0], "unit") = Json::of("furlongs");
        EXPECT_FALSE(validateAgainstSchema(doc, schema).empty());
    }
}

TEST(ResultsSchema, FiguresCarryTheirStatisticsAndReference) {
    const Json doc = sampleDocument();
    const Json& results = *doc.find("results");
    ASSERT_EQ(results.items.size(), 11u);  // FontSpeed1, nine memory figures, calc_add
    const Json& font = results.items[0];
    EXPECT_EQ(font.find("id")->text, "FontSpeed1");
    EXPECT_EQ(font.find("label")->text, "Font Speed 1");
    EXPECT_EQ(font.find("unit")->text, "fps");
    EXPECT_EQ(font.find("median")->number, 100.0);
    EXPECT_EQ(font.find("reference")->find("value")->number, 45.0);
    EXPECT_DOUBLE_EQ(font.find("reference")->find("ratio")->number, 100.0 / 45.0);
    EXPECT_EQ(font.find("median_interval")->find("low")->number, 98.0);
    EXPECT_EQ(font.find("median_interval")->find("coverage")->number, 0.75);
    EXPECT_EQ(font.find("frame_time_ms")->find("frames")->number, 300.0);
    EXPECT_NEAR(font.find("frame_time_ms")->find("present_median")->number, 0.05, 1e-12);

    const Json& read = results.items[1];
    EXPECT_EQ(read.find("label")->text, "Read Memory");
    EXPECT_EQ(read.find("unit")->text, "MB/S");
    // 40000 on the "MB/S" scale is 10000 MiB/s: 10.48576 GB/s.
    EXPECT_NEAR(read.find("bandwidth_gb_per_s")->find("median")->number, 10.48576, 1e-9);

    const Json& add = results.items[10];
    EXPECT_EQ(add.find("label")->text, "Calc ADD");
    EXPECT_EQ(add.find("unit")->text, "times/S");
    EXPECT_NEAR(add.find("precise_ops_per_s")->find("median")->number, 1e8 / 0.124, 1e-3);
}

}  // namespace
