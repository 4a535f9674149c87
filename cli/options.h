// The command line of pelorin-cli.
#pragma once

#include <string>
#include <vector>

#include "cli/report/verdict.h"
#include "cli/run/run_config.h"

// The run's own settings (all eight stages when none is named; kAllThreads
// for "all" until it is resolved), and what the program does with it.
struct Options : RunConfig {
    bool help = false;
    bool version = false;
    bool list = false;
    std::string jsonPath;      // "" for none, "-" for standard output
    std::string comparePath;
    bool failOnRegression = false;  // judge this run against the --compare run
    VerdictRules verdictRules;      // the threshold of --fail-on-regression and --alpha
    std::string screenshotPath;
    std::string markdownPath;  // the figures as a Markdown table
    std::string csvPath;       // the figures as CSV
    bool save = true;          // keep the run in the results store
    std::string storePath;     // "" for the default store
    std::string label;         // names the run in the store and the reports; "" for none
};

struct ParsedOptions {
    bool ok = false;
    Options options;
    std::string error;  // one line naming the problem when !ok
};

// Accepts "--name value", "--name=value" and, for -b, "-b N" and "-bN".
ParsedOptions parseOptions(const std::vector<std::string>& args);

// The help text, ending in a newline.
std::string usageText();
