// Results files that someone else made: too large, too deep, numbers out of
// range, figures that make no sense.  Each is refused with a reason, none
// crashes, and none is read as a wrong figure.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_fixture.h"
#include "cli/results/bounded_json.h"
#include "cli/results/run_sources.h"

namespace {

// The reason `text` is refused, as a document or as a run: "" when it is read.
std::string refusal(const std::string& text) {
    ResultsDocument doc;
    std::string error;
    if (!parseDocument(text, doc, error)) return error;
    SavedRun run;
    return readSavedRun(doc, run, error) ? "" : error;
}

// A document of ours with one figure whose members `figure` (JSON text
// without braces) gives.
std::string withFigure(const std::string& figure, const std::string& version = "3") {
    return R"({"schema_version": )" + version + R"(, "generator": "pelorin-cli", "results": [{"id": "calc_add", )" +
           figure + "}]}";
}

TEST(HostileDocuments, LimitsAreRefusedBeforeAnyDomIsBuilt) {
    const std::size_t n = 100000;  // the deep nesting inside an object that once overflowed the stack
    const std::string deep = "{\"x\":" + std::string(n, '[') + std::string(n, ']') + ",\"y\":1}";
    EXPECT_EQ(refusal(deep), "it is nested more than 64 deep");
    const std::string deepObjects = [] {
        std::string t;
        for (int i = 0; i < 65; ++i) t += "{\"a\":";
        return t + "1" + std::string(65, '}');
    }();
    EXPECT_EQ(refusal(deepObjects), "it is nested more than 64 deep");
    ResultsDocument doc;
    std::string error;
    EXPECT_TRUE(parseDocument(std::string(64, '[') + std::string(64, ']'), doc, error)) << error;

    std::string many = "[0";
    for (std::size_t i = 0; i < kMaxJsonValues; ++i) many += ",0";
    EXPECT_EQ(refusal(many + "]"), "it holds more than 5000000 values");
    std::string members = "{\"k0\": 0";
    for (std::size_t i = 1; i <= kMaxJsonMembers; ++i) (members += ", \"k") += std::to_string(i) + "\": 0";
    EXPECT_EQ(refusal(members + "}"), "it has an object of more than 256 members");
    EXPECT_EQ(refusal(std::string(kMaxJsonBytes + 1, ' ')), "it is larger than 64 MiB");
    EXPECT_NE(refusal("{\"a\": [1, 2,]}").find("it is not JSON (parse error at line 1, column 13"), std::string::npos);
}

TEST(HostileDocuments, NumbersOutOfRangeAreRefusedNeverWrapped) {
    EXPECT_EQ(refusal(withFigure(R"("median": 1e400)")), "it is not JSON (number overflow parsing '1e400')");
    EXPECT_NE(refusal(withFigure(R"("median": 1, "samples": [-1e400])")).find("number overflow"), std::string::npos);
    for (const char* version : {"4294967299", "18446744073709551619", "-4294967293", "3.0", "\"3\""})
        EXPECT_NE(refusal(withFigure(R"("median": 1)", version)).find("schema_version"), std::string::npos) << version;

    // Stage and thread count out of range are not trusted (unknown stage,
    // one thread), never wrapped into range.
    SavedRun run;
    std::string error;
    ASSERT_TRUE(readSavedRun(parsed(withFigure(R"("median": 1, "stage": 4294967304, "threads": 18446744073709551615)")),
                             run, error))
        << error;
    EXPECT_EQ(run.figures[0].stage, 0);
    EXPECT_EQ(run.figures[0].threads, 1);
}

TEST(HostileDocuments, FiguresThatMakeNoSenseAreRefused) {
    struct Case {
        std::string figure, says;
    };
    const Case cases[] = {
        {R"("median": -5)", "median that is negative"},
        {R"("median": 1e300, "reference": {"value": 0})", "median that is negative or beyond any machine"},
        {R"("median": 1, "samples": [1, -2, 3])", "sample that is negative"},
        {R"("median": 2, "samples": [1, "2", 3])", "sample that is not a number"},
        {R"("median": 2, "samples": {"a": 1})", "samples that are not a list"},
        {R"("median": 5, "samples": [1, 2, 3])", "does not match its samples"},
        {R"("median": 2, "reference": {"value": -45})", "reference figure that is negative"},
        {R"("median": 1e14, "reference": {"value": 1e-300})", "beyond any percentage"},
        {R"("median": 2, "median_interval": {"low": 3, "high": 1, "coverage": 0.9})", "no interval"},
        {R"("median": 2, "median_interval": {"low": 1, "high": 3, "coverage": 7})", "no interval"},
        {R"("id": "", "median": 2)", "has no id"},
    };
    for (const Case& c : cases) EXPECT_NE(refusal(withFigure(c.figure)).find(c.says), std::string::npos) << c.figure;

    const std::string twice = R"({"schema_version": 3, "generator": "pelorin-cli", "results": [)"
                              R"({"id": "read1", "median": 1}, {"id": "read1", "median": 2, "threads": 1}]})";
    EXPECT_EQ(refusal(twice), "it holds result 'read1' twice");
    std::string samples = "0";
    for (std::size_t i = 0; i < kMaxSamplesPerFigure; ++i) samples += ",0";
    EXPECT_NE(refusal(withFigure(R"("median": 0, "samples": [)" + samples + "]")).find("more than 1000000 samples"),
              std::string::npos);

    // A figure of 100,000 samples is read, with the median they give.
    samples = "0";
    for (int i = 1; i < 100000; ++i) (samples += ',') += std::to_string(i % 1000);
    SavedRun run;
    std::string error;
    ASSERT_TRUE(readSavedRun(parsed(withFigure(R"("median": 499.5, "samples": [)" + samples + "]")), run, error)) << error;
    EXPECT_EQ(run.figures[0].samples.size(), 100000u);
    EXPECT_TRUE(run.figures[0].hasInterval);
}

// The issue's file through --compare: one line, exit 2, before anything is
// measured; the file's name is quoted safely.
TEST(HostileDocuments, CompareRefusesEachBadFileInOneLine) {
    const std::size_t n = 100000;
    const std::string deep = writeTempFile("deep.json", "{\"x\":" + std::string(n, '[') + std::string(n, ']') + ",\"y\":1}");
    const std::string huge = writeTempFile("huge.json", "");
    std::filesystem::resize_file(huge, kMaxJsonBytes + 4096);
    const std::string folder = ::testing::TempDir() + "a_folder.json";
    std::filesystem::create_directories(folder);
    const std::string escape = writeTempFile("name\x1b[2J\rforged.json", withFigure(R"("median": 1e400)"));
    struct Case {
        std::string path, says;
    };
    for (const Case& c : {Case{deep, "nested more than 64 deep"}, Case{huge, "larger than 64 MiB"},
                          Case{folder, "it is a folder"}, Case{escape, "name\\x1b[2J\\x0dforged.json"}}) {
        const CliOutput r = runCliCaptured({"-b", "8", "--compare", c.path});
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
        EXPECT_EQ(r.err.find_first_of("\x1b\r"), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

}  // namespace
