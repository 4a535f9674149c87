// Shared by the pelorin-cli tests: a run's results made by hand, the
// schema from the source tree, and runCli with its output caught in memory.
#pragma once

#include <string>
#include <vector>

#include "cli/json.h"
#include "cli/options.h"
#include "cli/run_results.h"
#include "cli/runner.h"
#include "cli/system_info.h"

// Three passes of Stages 1 and 7 and one figure of Stage 8, with frame times.
RunResults sampleResults(double scale);
SystemInfo sampleSystem();
Options sampleOptions();

Json loadSchema();
Json parsed(const std::string& text);
std::string writeTempFile(const std::string& name, const std::string& text);

struct CliOutput {
    int status = 0;
    std::string out;
    std::string err;
};
CliOutput runCliCaptured(const std::vector<std::string>& args, const FramePacer& pacer = {});
