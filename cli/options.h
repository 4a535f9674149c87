// The command line of pelorin-cli.
#pragma once

#include <string>
#include <vector>

constexpr int kStageCount = 8;

struct Options {
    bool help = false;
    bool list = false;
    bool window = false;       // draw on the display instead of the offscreen driver
    std::vector<int> stages;   // 1..8, ascending, no repeats; all eight when none is named
    int timeSeconds = 10;      // measuring window of Stages 1-6
    int repeat = 1;
    std::vector<int> threads = {1};  // thread counts of Stages 7 and 8; kAllThreads for "all"
    std::string jsonPath;      // "" for none, "-" for standard output
    std::string comparePath;
    std::string screenshotPath;
    std::string markdownPath;  // the figures as a Markdown table
    std::string csvPath;       // the figures as CSV
    bool save = true;          // keep the run in the results store
    std::string storePath;     // "" for the default store
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
