#include <gtest/gtest.h>

#include "cli/options.h"

namespace {

CommandLine parse(std::vector<std::string> args) { return parseCommandLine(args); }

// The run's options of a command line that must be understood.
Options run(std::vector<std::string> args) {
    const CommandLine line = parse(args);
    EXPECT_TRUE(line.ok) << line.error;
    EXPECT_EQ(line.command, Command::Run);
    return line.run;
}

std::string error(std::vector<std::string> args) {
    const CommandLine line = parse(args);
    EXPECT_FALSE(line.ok) << args.front();
    EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
    return line.error;
}

TEST(Options, NoneRunsEveryStageOnceForTenSeconds) {
    const Options o = run({});
    EXPECT_EQ(o.stages, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(o.timeSeconds, 10);
    EXPECT_EQ(o.repeat, 1);
    EXPECT_FALSE(o.window);
    EXPECT_TRUE(o.wait);
    EXPECT_TRUE(o.save);
    EXPECT_TRUE(o.jsonPath.empty());
    EXPECT_EQ(run({"run"}).stages, o.stages);
}

TEST(Options, StagesInEveryFormComeOutAscendingWithoutRepeats) {
    EXPECT_EQ(run({"--stage", "7", "-b", "1", "-b3", "--stage=1", "-b", "7"}).stages, (std::vector<int>{1, 3, 7}));
    // One value an option: the next word is not a second stage.
    EXPECT_NE(error({"-b", "3", "4"}).find("'4'"), std::string::npos);
}

TEST(Options, ValuesAfterASpaceOrAnEqualsSign) {
    const Options o = run({"--time", "2", "--repeat=5", "--json", "-", "--compare=old.json", "--screenshot", "shot.png",
                           "--window", "--no-wait", "--no-save", "--store", "r.sqlite", "--markdown=t.md", "--csv",
                           "t.csv", "--label=-dash first"});
    EXPECT_EQ(o.timeSeconds, 2);
    EXPECT_EQ(o.repeat, 5);
    EXPECT_EQ(o.jsonPath, "-");
    EXPECT_EQ(o.comparePath, "old.json");
    EXPECT_EQ(o.screenshotPath, "shot.png");
    EXPECT_TRUE(o.window);
    EXPECT_FALSE(o.wait);
    EXPECT_FALSE(o.save);
    EXPECT_EQ(o.storePath, "r.sqlite");
    EXPECT_EQ(o.markdownPath, "t.md");
    EXPECT_EQ(o.csvPath, "t.csv");
    EXPECT_EQ(o.label, "-dash first");
}

TEST(Options, EachCommandReadsItsOwnWords) {
    CommandLine line = parse({"report", "last", "3", "--markdown", "-", "--store=s.sqlite"});
    ASSERT_TRUE(line.ok) << line.error;
    EXPECT_EQ(line.command, Command::Report);
    EXPECT_EQ(line.report.runs, (std::vector<std::string>{"last", "3"}));
    EXPECT_EQ(line.report.markdownPath, "-");
    EXPECT_EQ(line.report.storePath, "s.sqlite");
    line = parse({"report", "--last", "4", "-o", "r.html"});
    ASSERT_TRUE(line.ok) << line.error;
    EXPECT_EQ(line.report.last, 4);
    EXPECT_EQ(line.report.htmlPath, "r.html");

    line = parse({"export", "last", "-o", "-"});
    ASSERT_TRUE(line.ok) << line.error;
    EXPECT_EQ(line.exportRun.run, "last");
    EXPECT_EQ(line.exportRun.outputPath, "-");

    line = parse({"import", "a.json", "--store", "s.sqlite", "b.json"});
    ASSERT_TRUE(line.ok) << line.error;
    EXPECT_EQ(line.import.files, (std::vector<std::string>{"a.json", "b.json"}));

    line = parse({"check", "1", "last", "--threshold", "2.5", "--alpha=0.05", "--markdown", "v.md"});
    ASSERT_TRUE(line.ok) << line.error;
    EXPECT_EQ(line.check.baseline, "1");
    EXPECT_EQ(line.check.candidate, "last");
    EXPECT_DOUBLE_EQ(line.check.rules.thresholdPercent, 2.5);
    EXPECT_DOUBLE_EQ(line.check.rules.alpha, 0.05);

    EXPECT_TRUE(parse({"history"}).ok);
}

TEST(Options, EveryCommandHasItsOwnHelp) {
    for (const Command c :
         {Command::Run, Command::History, Command::Report, Command::Export, Command::Import, Command::Check}) {
        for (const char* flag : {"--help", "-h"}) {
            const CommandLine line = c == Command::Run ? parse({flag}) : parse({commandName(c), flag});
            EXPECT_TRUE(line.ok && line.help) << commandName(c) << " " << flag;
            EXPECT_EQ(line.command, c);
        }
        const std::string help = helpText(c);
        EXPECT_EQ(help.rfind(std::string("Usage: pelorin-cli ") + (c == Command::Run ? "[run]" : commandName(c)), 0),
                  0u)
            << help;
        EXPECT_NE(help.find("  -h, --help          print this help\n"), std::string::npos) << help;
        for (const std::string& line : [&] {
                 std::vector<std::string> lines;
                 for (std::size_t a = 0, b; (b = help.find('\n', a)) != std::string::npos; a = b + 1)
                     lines.push_back(help.substr(a, b - a));
                 return lines;
             }())
            EXPECT_LE(line.size(), 80u) << line;
    }
    EXPECT_NE(helpText(Command::Run).find("\n  history  "), std::string::npos);
}

TEST(Options, MisspeltWordsGetTheNearestOne) {
    EXPECT_EQ(error({"histroy"}), "unknown command 'histroy' (did you mean 'history'?)");
    EXPECT_EQ(error({"raport", "1"}), "unknown command 'raport' (did you mean 'report'?)");
    EXPECT_EQ(error({"--stroe", "x"}), "unknown option '--stroe' (did you mean '--store'?)");
    EXPECT_EQ(error({"history", "--stor=x"}), "history: unknown option '--stor=x' (did you mean '--store'?)");
    EXPECT_EQ(error({"--last", "3"}), "unknown option '--last' for a run (report takes it: see pelorin-cli report --help)");
    EXPECT_EQ(error({"--frobnicate"}), "unknown option '--frobnicate' (see --help)");
    EXPECT_EQ(error({"zzzz"}), "unknown command or option 'zzzz' (see --help)");
    EXPECT_EQ(error({"run", "history"}), "'history' is a command: it comes first (pelorin-cli history ...)");
    EXPECT_EQ(error({"history", "extra"}), "history: history takes no 'extra' (see pelorin-cli history --help)");
}

TEST(Options, AValueIsNeverTheNextOption) {
    EXPECT_NE(error({"--label", "--no-save"}).find("option --label needs a value, and '--no-save' is an option"),
              std::string::npos);
    EXPECT_NE(error({"report", "--markdown", "--csv", "x.csv"}).find("'--csv' is an option"), std::string::npos);
    EXPECT_NE(error({"--json", "-x"}).find("'-x' is an option"), std::string::npos);
    EXPECT_EQ(error({"--label"}), "option --label needs a value");
    EXPECT_EQ(error({"--json="}), "option --json needs a value");
    EXPECT_EQ(error({"--json", ""}), "option --json needs a value");
    EXPECT_EQ(error({"--no-save=yes"}), "option --no-save takes no value");
    EXPECT_EQ(error({"--window=true"}), "option --window takes no value");
    // "-" and negative numbers are values.
    EXPECT_EQ(run({"--json", "-"}).jsonPath, "-");
    EXPECT_NE(error({"--time", "-3"}).find("'-3' is out of range"), std::string::npos);
}

TEST(Options, AValueIsCheckedForItsKindFirstThenItsRange) {
    struct Case {
        std::vector<std::string> args;
        std::string says;
    };
    const Case cases[] = {
        {{"-b", "x"}, "stage 'x' is not a number: stages are numbered 1 to 8 (see --list)"},
        {{"-b", "9"}, "stage '9' is out of range: stages are numbered 1 to 8 (see --list)"},
        {{"-b", "0"}, "stage '0' is out of range"},
        {{"--time", "0"}, "--time: '0' is out of range (from 1 to 3600)"},
        {{"--time", "1.5"}, "--time: '1.5' is not a whole number of seconds (from 1 to 3600)"},
        {{"--repeat", "0"}, "--repeat: '0' is out of range (from 1 to 1000)"},
        {{"--repeat", "99999999999"}, "--repeat: '99999999999' is out of range"},
        {{"--repeat", "Auto"}, "--repeat: 'Auto' is not a whole number or 'auto'"},
        {{"--fail-on-regression", "x", "--compare", "last"}, "--fail-on-regression: 'x' is not a number"},
        {{"check", "1", "2", "--threshold", "2000"}, "check: --threshold: '2000' is out of range"},
        {{"check", "1", "2", "--alpha", "1"}, "check: --alpha: '1' is out of range (above 0 and below 1"},
        {{"report", "--last", "none"}, "report: --last: 'none' is not a whole number of runs"},
        {{"report", "--last", "0", "-o", "r.html"}, "report: --last: '0' is out of range"},
        {{"report", "x1", "-o", "r.html"}, "report: 'x1' is not a run"},
        {{"export"}, "export: export needs one run"},
        {{"check", "1"}, "check: check needs two runs"},
        {{"import"}, "import: import needs the results files"},
        {{"report", "1"}, "report: name a file"},
        {{"--compare", "-"}, "standard input"},
        {{"--no-wait"}, "--no-wait goes with --window"},
        {{"--alpha", "0.05"}, "--alpha goes with --fail-on-regression"},
    };
    for (const Case& c : cases) EXPECT_NE(error(c.args).find(c.says), std::string::npos) << error(c.args);
}

TEST(Options, OneOutputAtMostTakesStandardOutput) {
    EXPECT_EQ(error({"--json", "-", "--markdown", "-"}),
              "--json and --markdown both name standard output ('-'): one output at most may take it");
    EXPECT_NE(error({"report", "-o", "-", "--csv", "-"}).find("-o and --csv both name standard output"),
              std::string::npos);
    EXPECT_EQ(run({"--csv", "-", "--json", "r.json"}).csvPath, "-");
}

}  // namespace
