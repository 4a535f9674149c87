// The command line of pelorin-cli: which command it names (a run when it
// names none), that command's options, and each command's --help.
#pragma once

#include <string>
#include <vector>

#include "cli/report/verdict.h"
#include "cli/run/run_config.h"

enum class Command { Run, History, Report, Export, Import, Check };

// A run's own settings (all eight stages when none is named; kAllThreads
// for "all" until it is resolved), and what the program does with it.  A
// path "-" is standard output.
struct Options : RunConfig {
    bool version = false;
    bool list = false;
    bool wait = true;          // --window: keep the result screen until the person is done (--no-wait: false)
    std::string jsonPath;      // "" for none
    std::string comparePath;   // "last", a stored run's id or a results file
    bool failOnRegression = false;  // judge this run against the --compare run
    VerdictRules verdictRules;      // the threshold of --fail-on-regression and --alpha
    std::string screenshotPath;
    std::string htmlPath;      // the figures as an HTML page
    std::string markdownPath;  // the figures as a Markdown table
    std::string csvPath;       // the figures as CSV
    bool save = true;          // keep the run in the results store
    std::string storePath;     // "" for the default store
    std::string label;         // names the run in the store and the reports; "" for none
};

struct HistoryOptions {
    std::string storePath;
};

struct ReportOptions {
    std::vector<std::string> runs;  // each "last" or a stored run's id; none: the newest `last` runs
    int last = 1;
    std::string htmlPath;
    std::string markdownPath;
    std::string csvPath;
    std::string storePath;
};

struct ExportOptions {
    std::string run;         // "last" or a stored run's id
    std::string outputPath;  // "" or "-" for standard output
    std::string storePath;
};

struct ImportOptions {
    std::vector<std::string> files;
    std::string storePath;
};

struct CheckOptions {
    std::string baseline;   // "last", a stored run's id or a results file
    std::string candidate;
    VerdictRules rules;
    std::string markdownPath;
    std::string storePath;
};

struct CommandLine {
    bool ok = false;
    std::string error;  // one line naming the problem when !ok
    Command command = Command::Run;
    bool help = false;  // print helpText(command) and do nothing else
    Options run;
    HistoryOptions history;
    ReportOptions report;
    ExportOptions exportRun;
    ImportOptions import;
    CheckOptions check;
};

// Reads the whole command line: the command word first ("run" may be left
// out), then its options as "--name value", "--name=value" and, for short
// options, "-b N" and "-bN".  Every value is checked, for its kind first
// and then for its range; nothing on disk is looked at.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// The --help of a command, ending in a newline.  A run's also lists the
// commands.
std::string helpText(Command command);

// "run", "history", ...
const char* commandName(Command command);
