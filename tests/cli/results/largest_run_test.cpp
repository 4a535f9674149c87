// The largest run the limits allow travels: imported from a file, exported,
// and the export read by import again.  (That it is stored in another store
// and exported from there byte for byte the same is shown on small runs, in
// travel_test.cpp: the store keeps the same rows whatever their number.)
#include <gtest/gtest.h>

#include "cli/cli_fixture.h"
#include "cli/results/bounded_json.h"
#include "cli/results/saved_run.h"

// Built with AddressSanitizer (GCC says so directly, clang through __has_feature).
#if defined(__SANITIZE_ADDRESS__)
#define PELORIN_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PELORIN_UNDER_ASAN 1
#endif
#endif

namespace {

// A results file of `figures` figures of `samplesEach` nine-digit samples,
// in the shape of a frame rate (no best runs, no frame times), its numbers
// written as whole numbers, as a file made by another tool may hold them.
// Made as text: every figure holds the same samples.
std::string runFile(std::size_t figures, std::size_t samplesEach) {
    ResultsDocument doc = sampleDocument(1.0);
    ResultsDocument figure = doc["results"][0];
    figure["frame_time_ms"] = nullptr;
    std::vector<double> samples;
    std::vector<long long> wholeSamples;
    for (std::size_t k = 0; k < samplesEach; ++k) {
        wholeSamples.push_back(123456000 + static_cast<long long>(k) * 2);
        samples.push_back(static_cast<double>(wholeSamples.back()));
    }
    giveSamples(figure, samples);
    figure["id"] = "@ID@";
    nlohmann::json entry = nlohmann::json::parse(documentText(figure));
    entry["samples"] = wholeSamples;
    for (const char* key : {"median", "min", "max"}) entry[key] = entry[key].get<long long>();
    const std::string entryText = entry.dump();
    const std::size_t id = entryText.find("@ID@");
    doc["results"] = ResultsDocument::array();
    const std::string empty = documentText(doc);
    const std::size_t list = empty.find("\"results\":[]") + std::string("\"results\":[").size();
    std::string text = empty.substr(0, list);
    for (std::size_t i = 0; i < figures; ++i) {
        if (i > 0) text += ',';
        text.append(entryText, 0, id).append("figure" + std::to_string(i)).append(entryText, id + 4);
    }
    return text + empty.substr(list);
}

// Imports the file, exports it and imports the export again: import reads
// it as any file and knows its run (by its run_uuid) as the one stored.
void travel(const std::string& name, const std::string& fileText) {
    const std::string file = writeTempFile(name + ".json", fileText);
    const std::string store = freshTempPath(name + ".sqlite");
    CliOutput r = runCliCaptured({"import", file, "--store", store});
    ASSERT_EQ(r.out, file + ": imported as run 1\n") << r.err;
    const std::string exported = freshTempPath(name + "_exported.json");
    r = runCliCaptured({"export", "1", "-o", exported, "--store", store});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_LE(readFile(exported).size(), kMaxJsonBytes);
    r = runCliCaptured({"import", exported, "--store", store});
    EXPECT_EQ(r.out, exported + ": already stored as run 1\n") << r.err;
    std::filesystem::remove(file);
    std::filesystem::remove(exported);
    freshTempPath(name + ".sqlite");
}

TEST(LargestRun, TravelsThereAndBackWithinTheLimits) {
#ifdef PELORIN_UNDER_ASAN
    // Four million samples take minutes through the sanitizers; the
    // ordinary build takes them, and a fortieth of them here.
    travel("largest_run_part", runFile(kMaxFiguresPerRun / 40, kMaxSamplesPerRun / kMaxFiguresPerRun));
#else
    // 43.5 MB as whole numbers, 51.5 MB exported (which spells each sample
    // 123456000.0); indented, the export was 89.5 MB, beyond the 64 MiB
    // (67.1 MB) a results file may have.
    travel("largest_run", runFile(kMaxFiguresPerRun, kMaxSamplesPerRun / kMaxFiguresPerRun));
#endif
}

}  // namespace
