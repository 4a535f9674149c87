#include "cli/options.h"

#include <algorithm>
#include <cstdlib>

#include "cli/command_words.h"
#include "cli/results/run_label.h"
#include "cli/run/thread_counts.h"

namespace {

constexpr int kMaxSeconds = 3600;
constexpr int kMaxRepeat = 1000;

// A whole decimal number within [low, high], nothing around it.
bool wholeNumber(const std::string& text, int low, int high, int& out) {
    if (text.empty() || text.size() > 9) return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    const long n = std::strtol(text.c_str(), nullptr, 10);
    if (n < low || n > high) return false;
    out = static_cast<int>(n);
    return true;
}

// "1,2,4", "all" or a mix: counts from 1 to kMaxThreads, "all" as kAllThreads.
bool threadList(const std::string& text, std::vector<int>& out) {
    std::vector<int> counts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int n = 0;
        if (item == "all")
            counts.push_back(kAllThreads);
        else if (wholeNumber(item, 1, kMaxThreads, n))
            counts.push_back(n);
        else
            return false;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    out = counts;
    return true;
}

}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    Options& o = parsed.options;
    auto failed = [&](std::string message) {
        parsed.ok = false;
        parsed.error = std::move(message);
        return parsed;
    };

    bool settleGiven = false, maxRepeatGiven = false, alphaGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        if (name.rfind("--", 0) == 0) {
            const std::size_t eq = name.find('=');
            if (eq != std::string::npos) {
                value = name.substr(eq + 1);
                name = name.substr(0, eq);
                hasValue = true;
            }
        } else if (name.rfind("-b", 0) == 0 && name.size() > 2) {
            value = name.substr(2);
            name = "-b";
            hasValue = true;
        }

        const bool takesValue = name == "-b" || name == "--stage" || name == "--time" || name == "--repeat" ||
                                name == "--threads" || name == "--json" || name == "--compare" ||
                                name == "--screenshot" || name == "--markdown" || name == "--csv" || name == "--store" ||
                                name == "--label" || name == "--settle" || name == "--max-repeat" ||
                                name == "--fail-on-regression" || name == "--alpha";
        const bool flag =
            name == "-h" || name == "--help" || name == "--version" || name == "--list" || name == "--window" || name == "--no-save";
        if (!takesValue && !flag) return failed("unknown option '" + args[i] + "' (see --help)");
        if (flag && hasValue) return failed("option " + name + " takes no value");
        if (takesValue && !hasValue) {
            if (i + 1 >= args.size()) return failed("option " + name + " needs a value");
            value = args[++i];
        }

        if (name == "-h" || name == "--help") {
            o.help = true;
        } else if (name == "--version") {
            o.version = true;
        } else if (name == "--list") {
            o.list = true;
        } else if (name == "--window") {
            o.window = true;
        } else if (name == "--no-save") {
            o.save = false;
        } else if (name == "-b" || name == "--stage") {
            int n = 0;
            if (!wholeNumber(value, 1, kStageCount, n))
                return failed("stage '" + value + "' is out of range: stages are numbered 1 to 8 (see --list)");
            o.stages.push_back(n);
        } else if (name == "--time") {
            if (!wholeNumber(value, 1, kMaxSeconds, o.timeSeconds))
                return failed("--time needs a whole number of seconds from 1 to 3600, not '" + value + "'");
        } else if (name == "--repeat") {
            o.repeatRule.automatic = value == "auto";
            if (!o.repeatRule.automatic && !wholeNumber(value, 1, kMaxRepeat, o.repeat))
                return failed("--repeat needs a whole number from 1 to 1000 or 'auto', not '" + value + "'");
        } else if (name == "--settle") {
            settleGiven = true;
            if (!decimalNumber(value, 0.0, 100.0, o.repeatRule.settlePercent) || o.repeatRule.settlePercent <= 0.0)
                return failed("--settle needs a percentage above 0 and at most 100, not '" + value + "'");
        } else if (name == "--max-repeat") {
            maxRepeatGiven = true;
            if (!wholeNumber(value, kMinAutoRepeat, kMaxRepeat, o.repeatRule.maxRepeat))
                return failed("--max-repeat needs a whole number from " + std::to_string(kMinAutoRepeat) +
                              " to 1000, not '" + value + "'");
        } else if (name == "--fail-on-regression") {
            o.failOnRegression = true;
            if (!decimalNumber(value, 0.0, 1000.0, o.verdictRules.thresholdPercent))
                return failed("--fail-on-regression needs a percentage from 0 to 1000, not '" + value + "'");
        } else if (name == "--alpha") {
            alphaGiven = true;
            if (!alphaNumber(value, o.verdictRules.alpha))
                return failed("--alpha needs a number above 0 and below 1, such as 0.01, not '" + value + "'");
        } else if (name == "--threads") {
            if (!threadList(value, o.threads))
                return failed("--threads needs thread counts from 1 to " + std::to_string(kMaxThreads) +
                              " separated by commas, or 'all', not '" + value + "'");
        } else if (name == "--label") {
            // Not quoted back: it may hold what a terminal would obey.
            if (const std::string problem = labelProblem(value); !problem.empty())
                return failed("--label: " + problem);
            o.label = value;
        } else {
            if (value.empty()) return failed("option " + name + " needs a file name");
            if (name == "--json") o.jsonPath = value;
            if (name == "--compare") o.comparePath = value;
            if (name == "--screenshot") o.screenshotPath = value;
            if (name == "--markdown") o.markdownPath = value;
            if (name == "--csv") o.csvPath = value;
            if (name == "--store") o.storePath = value;
        }
    }

    std::sort(o.stages.begin(), o.stages.end());
    o.stages.erase(std::unique(o.stages.begin(), o.stages.end()), o.stages.end());
    if (o.stages.empty())
        for (int s = 1; s <= kStageCount; ++s) o.stages.push_back(s);
    if (!o.jsonPath.empty() && o.jsonPath == o.comparePath && o.jsonPath != "-")
        return failed("--json and --compare name the same file '" + o.jsonPath + "'");
    if (o.comparePath == "-") return failed("--compare needs a file, not standard input");
    if ((settleGiven || maxRepeatGiven) && !o.repeatRule.automatic)
        return failed("--settle and --max-repeat go with --repeat auto");
    if (o.repeatRule.automatic) o.repeat = o.repeatRule.maxRepeat;
    if (o.failOnRegression && o.comparePath.empty())
        return failed("--fail-on-regression needs --compare RUN, the run to judge this one against");
    if (alphaGiven && !o.failOnRegression) return failed("--alpha goes with --fail-on-regression");
    parsed.ok = true;
    return parsed;
}

std::string usageText() {
    return "Usage: pelorin-cli [options]\n"
           "       pelorin-cli history [--store FILE]\n"
           "       pelorin-cli report [ID...|--last N] [-o FILE.html] [--markdown FILE] [--csv FILE] [--store FILE]\n"
           "       pelorin-cli export ID|last [-o FILE] [--store FILE]\n"
           "       pelorin-cli import FILE... [--store FILE]\n"
           "       pelorin-cli check BASELINE CANDIDATE [--threshold PCT] [--alpha A] [--markdown FILE] [--store FILE]\n"
           "Runs the benchmark stages without interaction, prints every figure and keeps\n"
           "the run in the results store; lists the stored runs; writes a report of them;\n"
           "moves runs between stores as results files; or judges one run against another.\n"
           "\n"
           "  --list              the stages with their numbers and names\n"
           "  -b N, --stage N     run only stage N (1-8); repeat the option for more\n"
           "  --time S            measuring window of Stages 1-6 in whole seconds (default 10)\n"
           "  --repeat N          run the selection N times; report median, min, max\n"
           "                      and, from 3 runs on, an interval for the median;\n"
           "                      'auto' repeats until every figure has settled\n"
           "  --settle PCT        with --repeat auto: a figure has settled when the interval\n"
           "                      of its median lies within +-PCT% of the median (default 3)\n"
           "  --max-repeat N      with --repeat auto: at least 5, at most N passes (default 30)\n"
           "  --threads LIST      run Stages 7 and 8 once for each thread count in LIST,\n"
           "                      e.g. 1,2,4 or all (every usable processor); default 1\n"
           "  --json FILE         write the results as JSON (FILE '-' for standard output;\n"
           "                      the text report then goes to standard error)\n"
           "  --compare RUN       show each figure beside the same figure of an earlier run:\n"
           "                      'last' (the newest stored run), a stored run's ID, or a --json file\n"
           "  --fail-on-regression PCT  with --compare: judge this run against RUN as check\n"
           "                      does, with threshold PCT, and exit 3 when a figure is worse\n"
           "  --alpha A           with --fail-on-regression: the rate of false findings\n"
           "                      allowed across all figures (default 0.01)\n"
           "  --markdown FILE     write the figures as a Markdown table\n"
           "  --csv FILE          write the figures as CSV, one row per figure\n"
           "  --label TEXT        name the run in the store, history and reports (at most\n"
           "                      200 bytes, no control characters)\n"
           "  --no-save           do not keep this run in the results store\n"
           "  --store FILE        the results store (default $XDG_DATA_HOME/pelorin/results.sqlite,\n"
           "                      or ~/.local/share/pelorin/results.sqlite)\n"
           "  --screenshot FILE   save the last presented frame (the result screen) as PNG\n"
           "  --window            draw on the display instead of SDL's offscreen driver\n"
           "  --version           the program's name and version\n"
           "  -h, --help          this text\n"
           "\n"
           "history lists the stored runs: id, date, mode (window or offscreen), label or\n"
           "processor, the Graphics and Processor indices and headline figures; '!' marks\n"
           "a run another benchmark version or architecture measured.\n"
           "report writes the chosen runs (default: the newest) as one HTML page with -o,\n"
           "as Markdown or as CSV; --last N chooses the newest N runs.\n"
           "export writes a stored run ('last': the newest) as a results file, to standard\n"
           "output without -o.  import stores the run of each results file once: a run\n"
           "the store holds already (the same run id, or the same content for files\n"
           "without one) is not stored again; exit status 1 when any file was refused.\n"
           "check judges CANDIDATE against BASELINE, each 'last', a stored run's ID or a\n"
           "--json file, and measures nothing: a figure in both runs is worse (or better)\n"
           "when a rank test on their samples rejects equality, Holm-adjusted p <= A\n"
           "(--alpha, default 0.01), and its median changed by more than PCT percent\n"
           "(--threshold, default 5); --markdown FILE writes the verdict for a CI page.\n"
           "\n"
           "Exit status: 0 after a run, 1 when the run could not be completed or a\n"
           "file or the results store could not be written, 2 for bad usage, no\n"
           "Japanese font, or a missing or unusable image (nothing is measured then).\n"
           "check and --fail-on-regression: 3 when a figure is worse (even when a file\n"
           "could not be written), 4 when not one figure could be judged, 0 when none\n"
           "is worse; 2 also for runs that share no figure.\n";
}
