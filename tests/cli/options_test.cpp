#include <gtest/gtest.h>

#include "cli/options.h"

namespace {

ParsedOptions parse(std::vector<std::string> args) { return parseOptions(args); }

TEST(Options, NoneRunsEveryStageOnceForTenSeconds) {
    const ParsedOptions p = parse({});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.options.stages, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(p.options.timeSeconds, 10);
    EXPECT_EQ(p.options.repeat, 1);
    EXPECT_FALSE(p.options.window);
    EXPECT_TRUE(p.options.jsonPath.empty());
}

TEST(Options, StagesInEveryFormComeOutAscendingWithoutRepeats) {
    const ParsedOptions p = parse({"--stage", "7", "-b", "1", "-b3", "--stage=1", "-b", "7"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.stages, (std::vector<int>{1, 3, 7}));
}

TEST(Options, ValuesAfterASpaceOrAnEqualsSign) {
    const ParsedOptions p = parse({"--time", "2", "--repeat=5", "--json", "-", "--compare=old.json",
                                   "--screenshot", "shot.png", "--window"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.timeSeconds, 2);
    EXPECT_EQ(p.options.repeat, 5);
    EXPECT_EQ(p.options.jsonPath, "-");
    EXPECT_EQ(p.options.comparePath, "old.json");
    EXPECT_EQ(p.options.screenshotPath, "shot.png");
    EXPECT_TRUE(p.options.window);
}

TEST(Options, StoreAndTables) {
    EXPECT_TRUE(parse({}).options.save);
    const ParsedOptions p = parse({"--no-save", "--store", "r.sqlite", "--markdown=t.md", "--csv", "t.csv"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_FALSE(p.options.save);
    EXPECT_EQ(p.options.storePath, "r.sqlite");
    EXPECT_EQ(p.options.markdownPath, "t.md");
    EXPECT_EQ(p.options.csvPath, "t.csv");
    EXPECT_FALSE(parse({"--no-save=yes"}).ok);
    EXPECT_FALSE(parse({"--store"}).ok);
}

TEST(Options, ListAndHelpAreFlags) {
    EXPECT_TRUE(parse({"--list"}).options.list);
    EXPECT_TRUE(parse({"-h"}).options.help);
    EXPECT_TRUE(parse({"--help"}).options.help);
    EXPECT_FALSE(parse({"--list=yes"}).ok);
}

TEST(Options, EachMistakeIsOneLineNamingIt) {
    struct Case {
        std::vector<std::string> args;
        std::string mentions;
    };
    const Case cases[] = {
        {{"--frobnicate"}, "'--frobnicate'"},
        {{"-x"}, "'-x'"},
        {{"extra"}, "'extra'"},
        {{"-b", "9"}, "'9' is out of range"},
        {{"-b", "0"}, "'0' is out of range"},
        {{"--stage", "two"}, "'two'"},
        {{"-b"}, "-b needs a value"},
        {{"--time", "0"}, "--time"},
        {{"--time", "1.5"}, "'1.5'"},
        {{"--time", "-3"}, "'-3'"},
        {{"--repeat", "0"}, "--repeat"},
        {{"--repeat", "99999999999"}, "--repeat"},
        {{"--json"}, "--json needs a value"},
        {{"--json="}, "--json needs a file name"},
        {{"--compare", "-"}, "standard input"},
        {{"--json", "a.json", "--compare", "a.json"}, "same file"},
    };
    for (const Case& c : cases) {
        const ParsedOptions p = parse(c.args);
        EXPECT_FALSE(p.ok) << c.args[0];
        EXPECT_NE(p.error.find(c.mentions), std::string::npos) << p.error;
        EXPECT_EQ(p.error.find('\n'), std::string::npos) << p.error;
    }
}

TEST(Options, UsageNamesEveryOption) {
    const std::string usage = usageText();
    for (const char* name : {"--list", "--stage", "-b", "--time", "--repeat", "--json", "--compare", "--screenshot",
                             "--window", "--help", "--markdown", "--csv", "--no-save", "--store", "history", "report",
                             "--last", "check", "--threshold", "--alpha", "--fail-on-regression", "--settle",
                             "--max-repeat"})
        EXPECT_NE(usage.find(name), std::string::npos) << name;
}

}  // namespace
