// Shared by the pelorin-cli tests: a run's results made by hand, runCli
// with its output caught in memory, and the folder where every results
// document the tests make is left for the schema check.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/options.h"
#include "cli/results/results_document.h"
#include "cli/results/results_store.h"
#include "cli/run/run_results.h"
#include "cli/runner.h"
#include "cli/run/system_info.h"
#include "reliability/child_process.h"

// Three passes of Stages 1 and 7 and one figure of Stage 8, with frame times.
RunResults sampleResults(double scale);
SystemInfo sampleSystem();
Options sampleOptions();
RunFacts sampleFacts();
ResultsDocument sampleDocument(double scale);

// Gives one result of a document these samples, with the median, range and
// interval they make, as a run would have written them.
void giveSamples(ResultsDocument& result, const std::vector<double>& samples);

ResultsDocument parsed(const std::string& text);
std::string readFile(const std::string& path);
std::string writeTempFile(const std::string& name, const std::string& text);
// A fresh path in the test's temporary folder: nothing of that name, nor
// its SQLite companions (-wal, -shm, -journal), is left there.
std::string freshTempPath(const std::string& name);

// Leaves a document in the documents folder: `keepDocument` for one that
// must satisfy cli/results/results.schema.json, `keepBrokenDocument` for one that
// must not.  Returns the file's path.
std::string keepDocument(const std::string& name, const ResultsDocument& document);
std::string keepBrokenDocument(const std::string& name, const ResultsDocument& document);
// The documents folder itself.
std::string documentsFolder();

struct CliOutput {
    int status = 0;
    std::string out;
    std::string err;
};
// `adjust` may change the streams before the run (standard input, a
// terminal for standard error); what it puts in place of out or err is not
// caught.
CliOutput runCliCaptured(const std::vector<std::string>& args, const FramePacer& pacer = {},
                         const std::function<void(CliStreams&)>& adjust = {});

// Frame pacers on the virtual clock.  Half a second a frame: the title and
// Stage 7's heading pass in a few frames.
void hundredMsAFrame();
void halfASecondAFrame();
// Stage 7 with stand-in kernels, on the virtual clock: over in moments.
CliOutput quickRun(std::vector<std::string> args);
// The lines of a text, each without its '\n'.
std::vector<std::string> linesOf(const std::string& text);
// The store at `path`, opened (and made) as a run opens it; null, with the
// reason as a test failure, when it cannot be.
std::unique_ptr<ResultsStore> openStore(const std::string& path);
// Runs the disabled test `name` ("Suite.DISABLED_Case") of this test program
// in a child process, with `environment` (NAME=value) added.
ChildResult runDisabledTest(const std::string& name, const std::vector<std::string>& environment);
// Why a store that must not open was refused.
std::string openError(const std::string& path);
// A store of today's layout holding run 1, the sample document, made
// without measuring: at a fresh path of that name, or at the path given.
std::string storeWithOneRun(const std::string& name);
std::string storeWithOneRunAt(const std::string& path);
