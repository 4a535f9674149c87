#include "cli/cli_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "cli/results/results_store.h"
#include "cli/run/statistics.h"
#include "cli/run/system_info.h"
#include "platform/linux/drive_hooks.h"
#include "support/program_harness.h"
#include "support/quick_kernels.h"

#ifndef PELORIN_CLI_DOCUMENTS
#error "PELORIN_CLI_DOCUMENTS must name the folder for the documents the tests make"
#endif

RunResults sampleResults(double scale) {
    RunResults r;
    r.passes = 3;
    r.samples[0] = {100 * scale, 102 * scale, 98 * scale};  // FontSpeed1
    for (int i = 6; i < 15; ++i) r.samples[i] = {40000 * scale, 41000 * scale, 39000 * scale};
    for (int i = 6; i < 15; ++i) r.kernelSeconds[i] = {0.1, 0.1, 0.1};
    r.samples[15] = {806451612.0 * scale, 806451612.0 * scale, 800000000.0 * scale};  // calc_add
    r.kernelSeconds[15] = {0.124, 0.1235, 0.125};
    for (int f = 0; f < 300; ++f) r.frames[0].push_back(FrameTiming{10000000 + f * 1000, 50000});
    return r;
}

SystemInfo sampleSystem() {
    SystemInfo s;
    s.cpu = "Test CPU @ 1.0GHz";
    s.cores = 2;
    s.memoryBytes = 1LL << 33;
    // This machine's own: runs of another architecture are marked in every
    // history and report, which only the tests that ask for it should see.
    s.architecture = machineArchitecture();
    s.kernel = "Linux 6.1.0 " + s.architecture;
    s.transparentHugePages = "madvise";
    s.loadAverage = 0.25;
    s.video.up = true;
    s.video.driver = "offscreen";
    s.video.presentedDirectly = true;
    s.video.displayWidth = 1024;
    s.video.displayHeight = 768;
    return s;
}

Options sampleOptions() {
    Options o;
    o.stages = {1, 7, 8};
    o.repeat = 3;
    o.timeSeconds = 2;
    return o;
}

RunFacts sampleFacts() { return {"2026-12-07T09:46:42Z", {"pelorin-cli", "-b", "1", "--repeat", "3"}, ""}; }

ResultsDocument sampleDocument(double scale) {
    return resultsDocument(sampleResults(scale), sampleOptions(), sampleSystem(), {"a warning"}, sampleFacts());
}

void giveSamples(ResultsDocument& result, const std::vector<double>& samples) {
    const Summary s = summarize(samples);
    result["samples"] = samples;
    result["median"] = s.median;
    result["min"] = s.min;
    result["max"] = s.max;
    if (s.hasInterval)
        result["median_interval"] = {{"method", "order-statistic"}, {"low", s.low}, {"high", s.high}, {"coverage", s.coverage}};
    else
        result["median_interval"] = nullptr;
    if (result.contains("reference")) result["reference"]["ratio"] = s.median / result["reference"]["value"].get<double>();
}

ResultsDocument parsed(const std::string& text) {
    ResultsDocument doc;
    std::string error;
    EXPECT_TRUE(parseDocument(text, doc, error)) << error;
    return doc;
}

// One read of the whole file: the tests read exports of tens of megabytes,
// which a character-by-character copy takes seconds over without optimisation.
std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return "";
    std::string text(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

std::string writeTempFile(const std::string& name, const std::string& text) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string freshTempPath(const std::string& name) {
    const std::string path = ::testing::TempDir() + name;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::filesystem::remove(path + suffix);
    return path;
}

std::string documentsFolder() { return PELORIN_CLI_DOCUMENTS; }

namespace {

// Runs that do not name a store must never reach the user's own.
const bool dataHomeIsolated = [] {
    setenv("XDG_DATA_HOME", (::testing::TempDir() + "pelorin_test_data").c_str(), 1);
    return true;
}();

std::string keepIn(const char* subfolder, const std::string& name, const ResultsDocument& document) {
    const std::filesystem::path folder = std::filesystem::path(PELORIN_CLI_DOCUMENTS) / subfolder;
    std::filesystem::create_directories(folder);
    const std::string path = (folder / (name + ".json")).string();
    std::ofstream(path, std::ios::binary | std::ios::trunc) << documentText(document);
    return path;
}

std::string drain(std::FILE* f, char*& buffer) {
    std::fclose(f);
    std::string text(buffer);
    std::free(buffer);
    return text;
}

}  // namespace

std::string keepDocument(const std::string& name, const ResultsDocument& document) {
    return keepIn("valid", name, document);
}

std::string keepBrokenDocument(const std::string& name, const ResultsDocument& document) {
    return keepIn("invalid", name, document);
}

CliOutput runCliCaptured(const std::vector<std::string>& args, const FramePacer& pacer,
                         const std::function<void(CliStreams&)>& adjust) {
    char* outBuffer = nullptr;
    char* errBuffer = nullptr;
    std::size_t outSize = 0, errSize = 0;
    std::FILE* out = open_memstream(&outBuffer, &outSize);
    std::FILE* err = open_memstream(&errBuffer, &errSize);
    CliStreams streams;
    streams.out = out;
    streams.err = err;
    if (adjust) adjust(streams);
    CliOutput result;
    result.status = runCli(args, streams, pacer);
    result.out = drain(out, outBuffer);
    result.err = drain(err, errBuffer);
    return result;
}

void hundredMsAFrame() { drive::advanceVirtualTime(100); }
void halfASecondAFrame() { drive::advanceVirtualTime(500); }

// Stage 7 with stand-in kernels, on the virtual clock: over in moments.
CliOutput quickRun(std::vector<std::string> args) {
    quick::Kernels standIns;
    ProgramHarness program;
    std::vector<std::string> all{"-b", "7"};
    all.insert(all.end(), args.begin(), args.end());
    return runCliCaptured(all, halfASecondAFrame);
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::unique_ptr<ResultsStore> openStore(const std::string& path) {
    std::string error;
    std::unique_ptr<ResultsStore> store = ResultsStore::open(path, error);
    EXPECT_TRUE(store) << error;
    return store;
}

ChildResult runDisabledTest(const std::string& name, const std::vector<std::string>& environment) {
    ChildOptions child;
    child.argv = {"/proc/self/exe", "--gtest_also_run_disabled_tests", "--gtest_filter=" + name};
    child.environment = environment;
    return runChild(child);
}

std::string openError(const std::string& path) {
    std::string error;
    EXPECT_FALSE(ResultsStore::open(path, error)) << path;
    return error;
}

std::string storeWithOneRunAt(const std::string& path) {
    std::string error;
    std::unique_ptr<ResultsStore> store = ResultsStore::open(path, error);
    EXPECT_TRUE(store) << error;
    if (store) {
        EXPECT_EQ(store->save(sampleDocument(1.0), error), 1) << error;
    }
    return path;
}

std::string storeWithOneRun(const std::string& name) { return storeWithOneRunAt(freshTempPath(name)); }
