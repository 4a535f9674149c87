#include "cli/options.h"

#include <CLI/CLI.hpp>

#include <algorithm>

#include "cli/command_words.h"
#include "cli/options_help.h"
#include "cli/results/run_label.h"
#include "cli/run/thread_counts.h"

namespace {

constexpr int kMaxSeconds = 3600;
constexpr int kMaxRepeat = 1000;
constexpr long long kMaxLast = 999999;

constexpr Command kCommands[] = {Command::Run,    Command::History, Command::Report,
                                 Command::Export, Command::Import,  Command::Check};

// What the parser collects, as the words were written; checked afterwards.
struct Words {
    bool help = false;
    bool list = false, version = false, window = false, noSave = false, noWait = false;
    std::vector<std::string> stages, positional;
    std::string time, repeat, settle, maxRepeat, threads, json, compare, failOnRegression, alpha, markdown, csv,
        label, store, screenshot, last, output, threshold, html;
};

void value(CLI::App& app, const std::string& names, const std::string& valueName, std::string& into,
           const std::string& help) {
    app.add_option(names, into, help)->type_name(valueName)->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

void flag(CLI::App& app, const std::string& names, bool& into, const std::string& help) {
    app.add_flag(names, into, help);
}

const char* const kStoreHelp =
    "the results store (default $XDG_DATA_HOME/pelorin/results.sqlite, or ~/.local/share/pelorin/results.sqlite)";

// The options of each command, in the order --help lists them.  The words
// of each help text are the manual page's too.
void defineRun(CLI::App& app, Words& w) {
    flag(app, "--list", w.list, "print the stages with their numbers and names");
    app.add_option("-b,--stage", w.stages, "run only stage N (1-8); repeat the option for more")
        ->type_name("N")
        ->allow_extra_args(false);
    value(app, "--time", "S", w.time, "the measuring window of Stages 1-6 in whole seconds (default 10)");
    value(app, "--repeat", "N", w.repeat,
          "run the selection N times and report the median, minimum and maximum and, from 3 runs on, an "
          "interval for the median; 'auto' repeats until every figure has settled");
    value(app, "--settle", "PCT", w.settle,
          "with --repeat auto: a figure has settled when the interval of its median lies within +-PCT% of the "
          "median (default 3)");
    value(app, "--max-repeat", "N", w.maxRepeat, "with --repeat auto: at least 5, at most N passes (default 30)");
    value(app, "--threads", "LIST", w.threads,
          "run Stages 7 and 8 once for each thread count in LIST, e.g. 1,2,4 or all (every usable processor); "
          "default 1");
    value(app, "--json", "FILE", w.json, "write the results as JSON");
    value(app, "--compare", "RUN", w.compare,
          "show each figure beside the same figure of an earlier run: 'last' (the newest stored run), a stored "
          "run's id, or a --json file");
    value(app, "--fail-on-regression", "PCT", w.failOnRegression,
          "with --compare: judge this run against RUN as check does, with the threshold PCT, and exit 3 when a "
          "figure is worse");
    value(app, "--alpha", "A", w.alpha,
          "with --fail-on-regression: the rate of false findings allowed across all figures (default 0.01)");
    value(app, "--html", "FILE", w.html,
          "write the figures as one self-contained HTML page, as report -o does for stored runs");
    value(app, "--markdown", "FILE", w.markdown, "write the figures as a Markdown table");
    value(app, "--csv", "FILE", w.csv, "write the figures as CSV, one row per figure, with all samples");
    value(app, "--label", "TEXT", w.label,
          "name the run in the store, history and the reports (at most 200 bytes of UTF-8, no control "
          "characters)");
    flag(app, "--no-save", w.noSave, "do not keep this run in the results store");
    value(app, "--store", "FILE", w.store, kStoreHelp);
    value(app, "--screenshot", "FILE", w.screenshot, "save the last presented frame (the result screen) as PNG");
    flag(app, "--window", w.window,
         "draw on the display instead of SDL's offscreen driver; with standard input on a terminal the result "
         "screen stays until Enter is pressed (there or in the window) or the window is closed");
    flag(app, "--no-wait", w.noWait, "with --window: close the window after the last stage, as without a terminal");
    flag(app, "--version", w.version, "print the program's name and version");
}

void defineHistory(CLI::App& app, Words& w) { value(app, "--store", "FILE", w.store, kStoreHelp); }

void defineReport(CLI::App& app, Words& w) {
    app.add_option("RUN", w.positional);
    value(app, "--last", "N", w.last, "the newest N runs");
    value(app, "-o,--output", "FILE.html", w.output,
          "one self-contained page (inline SVG and CSS, no script, nothing fetched): for each figure a bar per "
          "run of its percentage of the reference machine, with the interval of the median as a whisker");
    value(app, "--markdown", "FILE", w.markdown,
          "a table with one row per figure and each run's median and percentage, for a forum post");
    value(app, "--csv", "FILE", w.csv,
          "one row per figure of each run, with all samples, the interval and the reference, for a spreadsheet");
    value(app, "--store", "FILE", w.store, kStoreHelp);
}

void defineExport(CLI::App& app, Words& w) {
    app.add_option("RUN", w.positional);
    value(app, "-o,--output", "FILE", w.output, "the results file to write (default: standard output)");
    value(app, "--store", "FILE", w.store, kStoreHelp);
}

void defineImport(CLI::App& app, Words& w) {
    app.add_option("FILE", w.positional);
    value(app, "--store", "FILE", w.store, kStoreHelp);
}

void defineCheck(CLI::App& app, Words& w) {
    app.add_option("RUN", w.positional);
    value(app, "--threshold", "PCT", w.threshold,
          "the least change of the median, in percent, that counts as worse or better (default 5)");
    value(app, "--alpha", "A", w.alpha, "the rate of false findings allowed across all figures (default 0.01)");
    value(app, "--markdown", "FILE", w.markdown, "also write the verdict as Markdown, for a CI job's summary page");
    value(app, "--store", "FILE", w.store, kStoreHelp);
}

// The parser of one command, with every option of it and --help last.
void define(Command command, CLI::App& app, Words& w) {
    app.set_help_flag();  // ours below, handled before the parser runs
    app.allow_extras(true);
    switch (command) {
        case Command::Run: defineRun(app, w); break;
        case Command::History: defineHistory(app, w); break;
        case Command::Report: defineReport(app, w); break;
        case Command::Export: defineExport(app, w); break;
        case Command::Import: defineImport(app, w); break;
        case Command::Check: defineCheck(app, w); break;
    }
    flag(app, "-h,--help", w.help, "print this help");
}

std::vector<OptionWord> optionWords(const CLI::App& app) {
    std::vector<OptionWord> words;
    for (const CLI::Option* o : app.get_options()) {
        const bool takesValue = o->get_items_expected_max() > 0;
        for (const std::string& s : o->get_snames()) words.push_back({"-" + s, takesValue});
        for (const std::string& l : o->get_lnames()) words.push_back({"--" + l, takesValue});
    }
    return words;
}

std::vector<std::string> namesOf(const std::vector<OptionWord>& words) {
    std::vector<std::string> names;
    for (const OptionWord& w : words) names.push_back(w.name);
    return names;
}

// The commands other than `command` that have an option called `name`.
std::string otherCommandsWith(Command command, const std::string& name) {
    std::string found;
    for (const Command other : kCommands) {
        if (other == command) continue;
        CLI::App app;
        Words w;
        define(other, app, w);
        for (const OptionWord& o : optionWords(app))
            if (o.name == name) {
                found = commandName(other);
                break;
            }
        if (!found.empty()) break;
    }
    return found;
}

// Why the first word the parser did not take is wrong, with the nearest
// word meant when one is close.
std::string unknownWordProblem(Command command, const std::string& word, const std::vector<OptionWord>& options) {
    const std::string seeHelp =
        command == Command::Run ? "see --help" : std::string("see pelorin-cli ") + commandName(command) + " --help";
    if (looksLikeOption(word)) {
        const std::string name = word.substr(0, word.find('='));
        const std::string other = otherCommandsWith(command, name);
        if (!other.empty())
            return "unknown option '" + word + "' for " + (command == Command::Run ? "a run" : commandName(command)) +
                   " (" + other + " takes it: see pelorin-cli " + other + " --help)";
        const std::string near = nearestWord(name, namesOf(options));
        if (!near.empty()) return "unknown option '" + word + "' (did you mean '" + near + "'?)";
        return "unknown option '" + word + "' (" + seeHelp + ")";
    }
    if (command != Command::Run) return std::string(commandName(command)) + " takes no '" + word + "' (" + seeHelp + ")";
    std::vector<std::string> names;
    for (const Command c : kCommands) names.push_back(commandName(c));
    if (std::find(names.begin(), names.end(), word) != names.end())
        return "'" + word + "' is a command: it comes first (pelorin-cli " + word + " ...)";
    const std::string near = nearestWord(word, names);
    if (!near.empty()) return "unknown command '" + word + "' (did you mean '" + near + "'?)";
    return "unknown command or option '" + word + "' (" + seeHelp + ")";
}

// --threads: "1,2,4", "all" or a mix.
std::string threadList(const std::string& text, std::vector<int>& out) {
    const std::string range = "counts from 1 to " + std::to_string(kMaxThreads) + " separated by commas, or 'all'";
    std::vector<int> counts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        long long n = 0;
        if (item == "all") {
            counts.push_back(kAllThreads);
        } else if (const NumberReading r = readWholeNumber(item, 1, kMaxThreads, n); r == NumberReading::Ok) {
            counts.push_back(static_cast<int>(n));
        } else {
            return numberProblem(r, "--threads", text, "a list of thread counts", range);
        }
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    out = counts;
    return "";
}

std::string wholeNumber(const std::string& option, const std::string& text, long long low, long long high,
                        const std::string& kind, const std::string& range, int& out) {
    long long n = 0;
    const NumberReading r = readWholeNumber(text, low, high, n);
    if (r == NumberReading::Ok) out = static_cast<int>(n);
    return numberProblem(r, option, text, kind, range);
}

std::string decimal(const std::string& option, const std::string& text, double low, double high,
                    const std::string& range, double& out) {
    return numberProblem(readDecimal(text, low, high, out), option, text, "a number", range);
}

// Above 0 and below 1.
std::string alphaValue(const std::string& option, const std::string& text, double& out) {
    double a = 0.0;
    NumberReading r = readDecimal(text, 0.0, 1.0, a);
    if (r == NumberReading::Ok && (a <= 0.0 || a >= 1.0)) r = NumberReading::OutOfRange;
    if (r == NumberReading::Ok) out = a;
    return numberProblem(r, option, text, "a number", "above 0 and below 1, such as 0.01");
}

// The outputs that name standard output: at most one may.
std::string standardOutputProblem(const std::vector<std::pair<std::string, std::string>>& outputs) {
    std::vector<std::string> takers;
    for (const auto& [option, path] : outputs)
        if (path == "-") takers.push_back(option);
    if (takers.size() < 2) return "";
    return takers[0] + " and " + takers[1] + " both name standard output ('-'): one output at most may take it";
}

// An option given an empty word ("--json ''"), which would read as not given.
std::string emptyValueProblem(const CLI::App& app) {
    for (const CLI::Option* o : app.get_options()) {
        if (o->get_positional() || o->get_items_expected_max() == 0) continue;
        for (const std::string& result : o->results())
            if (result.empty()) return "option " + o->get_name() + " needs a value";
    }
    return "";
}

std::string checkRun(const Words& w, CommandLine& line) {
    Options& o = line.run;
    o.list = w.list;
    o.version = w.version;
    o.window = w.window;
    o.save = !w.noSave;
    o.wait = !w.noWait;
    for (const std::string& s : w.stages) {
        long long n = 0;
        const NumberReading r = readWholeNumber(s, 1, kStageCount, n);
        if (r != NumberReading::Ok)
            return "stage '" + s + (r == NumberReading::NotANumber ? "' is not a number" : "' is out of range") +
                   ": stages are numbered 1 to 8 (see --list)";
        o.stages.push_back(static_cast<int>(n));
    }
    std::sort(o.stages.begin(), o.stages.end());
    o.stages.erase(std::unique(o.stages.begin(), o.stages.end()), o.stages.end());
    if (o.stages.empty())
        for (int s = 1; s <= kStageCount; ++s) o.stages.push_back(s);

    std::string p;
    if (!w.time.empty() && !(p = wholeNumber("--time", w.time, 1, kMaxSeconds, "a whole number of seconds",
                                             "from 1 to 3600", o.timeSeconds))
                                .empty())
        return p;
    if (!w.repeat.empty()) {
        o.repeatRule.automatic = w.repeat == "auto";
        if (!o.repeatRule.automatic &&
            !(p = wholeNumber("--repeat", w.repeat, 1, kMaxRepeat, "a whole number or 'auto'", "from 1 to 1000",
                              o.repeat))
                 .empty())
            return p;
    }
    if (!w.settle.empty()) {
        if (!(p = decimal("--settle", w.settle, 0.0, 100.0, "a percentage above 0 and at most 100",
                          o.repeatRule.settlePercent))
                 .empty())
            return p;
        if (o.repeatRule.settlePercent <= 0.0)
            return numberProblem(NumberReading::OutOfRange, "--settle", w.settle, "",
                                 "a percentage above 0 and at most 100");
    }
    if (!w.maxRepeat.empty() &&
        !(p = wholeNumber("--max-repeat", w.maxRepeat, kMinAutoRepeat, kMaxRepeat, "a whole number",
                          "from " + std::to_string(kMinAutoRepeat) + " to 1000", o.repeatRule.maxRepeat))
             .empty())
        return p;
    if (!w.failOnRegression.empty()) {
        o.failOnRegression = true;
        if (!(p = decimal("--fail-on-regression", w.failOnRegression, 0.0, 1000.0, "a percentage from 0 to 1000",
                          o.verdictRules.thresholdPercent))
                 .empty())
            return p;
    }
    if (!w.alpha.empty() && !(p = alphaValue("--alpha", w.alpha, o.verdictRules.alpha)).empty()) return p;
    if (!w.threads.empty() && !(p = threadList(w.threads, o.threads)).empty()) return p;
    // Not quoted back: it may hold what a terminal would obey.
    if (const std::string problem = w.label.empty() ? "" : labelProblem(w.label); !problem.empty())
        return "--label: " + problem;
    o.label = w.label;

    o.jsonPath = w.json;
    o.comparePath = w.compare;
    o.screenshotPath = w.screenshot;
    o.htmlPath = w.html;
    o.markdownPath = w.markdown;
    o.csvPath = w.csv;
    o.storePath = w.store;
    if (o.comparePath == "-") return "--compare needs a file, not standard input";
    if (o.storePath == "-") return "--store needs a file, not standard output";
    if (!(p = standardOutputProblem({{"--json", o.jsonPath},
                                     {"--html", o.htmlPath},
                                     {"--markdown", o.markdownPath},
                                     {"--csv", o.csvPath},
                                     {"--screenshot", o.screenshotPath}}))
             .empty())
        return p;
    if ((!w.settle.empty() || !w.maxRepeat.empty()) && !o.repeatRule.automatic)
        return "--settle and --max-repeat go with --repeat auto";
    if (o.repeatRule.automatic) o.repeat = o.repeatRule.maxRepeat;
    if (o.failOnRegression && o.comparePath.empty())
        return "--fail-on-regression needs --compare RUN, the run to judge this one against";
    if (!w.alpha.empty() && !o.failOnRegression) return "--alpha goes with --fail-on-regression";
    if (w.noWait && !o.window) return "--no-wait goes with --window";
    return "";
}

// "last" or a stored run's id.
bool namesRun(const std::string& word) {
    return word == "last" || (!word.empty() && word.size() <= 18 &&
                              std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }));
}

std::string checkReport(const Words& w, ReportOptions& o) {
    for (const std::string& run : w.positional)
        if (!namesRun(run)) return "'" + run + "' is not a run: give a stored run's id (see history) or 'last'";
    o.runs = w.positional;
    if (!w.last.empty()) {
        if (!o.runs.empty()) return "give runs or --last, not both";
        int last = 0;
        if (const std::string p = wholeNumber("--last", w.last, 1, kMaxLast, "a whole number of runs",
                                              "from 1 to " + std::to_string(kMaxLast), last);
            !p.empty())
            return p;
        o.last = last;
    }
    o.htmlPath = w.output;
    o.markdownPath = w.markdown;
    o.csvPath = w.csv;
    o.storePath = w.store;
    if (o.htmlPath.empty() && o.markdownPath.empty() && o.csvPath.empty())
        return "name a file: -o FILE.html, --markdown FILE or --csv FILE ('-' for standard output)";
    return standardOutputProblem({{"-o", o.htmlPath}, {"--markdown", o.markdownPath}, {"--csv", o.csvPath}});
}

std::string checkExport(const Words& w, ExportOptions& o) {
    if (w.positional.size() != 1 || !namesRun(w.positional.front()))
        return "export needs one run: its id (see history) or 'last'";
    o.run = w.positional.front();
    o.outputPath = w.output;
    o.storePath = w.store;
    return "";
}

std::string checkImport(const Words& w, ImportOptions& o) {
    if (w.positional.empty()) return "import needs the results files to import";
    o.files = w.positional;
    o.storePath = w.store;
    return "";
}

std::string checkCheck(const Words& w, CheckOptions& o) {
    if (w.positional.size() != 2)
        return "check needs two runs, BASELINE and CANDIDATE: each 'last', a stored run's id or a results file "
               "(see pelorin-cli check --help)";
    o.baseline = w.positional[0];
    o.candidate = w.positional[1];
    std::string p;
    if (!w.threshold.empty() &&
        !(p = decimal("--threshold", w.threshold, 0.0, 1000.0, "a percentage from 0 to 1000", o.rules.thresholdPercent))
             .empty())
        return p;
    if (!w.alpha.empty() && !(p = alphaValue("--alpha", w.alpha, o.rules.alpha)).empty()) return p;
    o.markdownPath = w.markdown;
    o.storePath = w.store;
    return "";
}

// Reads the command's values into `line`; "" when all are sound.
std::string checkWords(const Words& w, CommandLine& line) {
    switch (line.command) {
        case Command::Run: return checkRun(w, line);
        case Command::History: line.history.storePath = w.store; return "";
        case Command::Report: return checkReport(w, line.report);
        case Command::Export: return checkExport(w, line.exportRun);
        case Command::Import: return checkImport(w, line.import);
        case Command::Check: return checkCheck(w, line.check);
    }
    return "";
}

}  // namespace

const char* commandName(Command command) {
    switch (command) {
        case Command::Run: return "run";
        case Command::History: return "history";
        case Command::Report: return "report";
        case Command::Export: return "export";
        case Command::Import: return "import";
        case Command::Check: return "check";
    }
    return "run";
}

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    std::vector<std::string> words = args;
    for (const Command c : kCommands)
        if (!words.empty() && words.front() == commandName(c)) {
            line.command = c;
            words.erase(words.begin());
            break;
        }
    const std::string prefix = line.command == Command::Run ? "" : std::string(commandName(line.command)) + ": ";
    const auto failed = [&](const std::string& problem) {
        line.ok = false;
        line.error = prefix + problem;
        return line;
    };

    const auto optionsEnd = std::find(words.begin(), words.end(), "--");
    if (std::find(words.begin(), optionsEnd, "--help") != optionsEnd ||
        std::find(words.begin(), optionsEnd, "-h") != optionsEnd) {
        line.help = true;
        line.ok = true;
        return line;
    }

    CLI::App app;
    Words w;
    define(line.command, app, w);
    const std::vector<OptionWord> options = optionWords(app);
    if (const std::string problem = valueWordsProblem(words, options); !problem.empty()) return failed(problem);
    try {
        std::vector<std::string> reversed(words.rbegin(), words.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        return failed(e.what());
    }
    for (const std::string& extra : app.remaining())
        if (extra != "--") return failed(unknownWordProblem(line.command, extra, options));

    std::string problem = emptyValueProblem(app);
    if (problem.empty()) problem = checkWords(w, line);
    if (!problem.empty()) return failed(problem);
    line.ok = true;
    return line;
}

std::string helpText(Command command) {
    CLI::App app;
    Words w;
    define(command, app, w);
    std::vector<HelpOption> options;
    for (const CLI::Option* o : app.get_options()) {
        if (o->get_positional()) continue;
        std::string names;
        for (const std::string& s : o->get_snames()) names += (names.empty() ? "-" : ", -") + s;
        if (!o->get_snames().empty() && o->get_items_expected_max() > 0) names += " " + o->get_type_name();
        for (const std::string& l : o->get_lnames()) {
            names += (names.empty() ? "--" : ", --") + l;
            if (o->get_items_expected_max() > 0) names += " " + o->get_type_name();
        }
        options.push_back({names, o->get_description()});
    }
    return commandHelp(command, options);
}
