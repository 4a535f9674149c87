// pelorin-cli's answers that come before any window exists.
#include <gtest/gtest.h>

#include "cli/cli_fixture.h"

namespace {

TEST(Usage, MistakesExitTwoWithOneLineBeforeMeasuring) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--nope"}, {"-b", "12"}, {"--json", "/nonexistent/dir/out.json"}, {"--screenshot", "/nonexistent/x.png"}}) {
        const CliOutput r = runCliCaptured(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.err.rfind("pelorin-cli: ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
}

TEST(Usage, ListNamesTheEightStages) {
    const CliOutput r = runCliCaptured({"--list"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("1  Font Speed 1\n"), std::string::npos);
    EXPECT_NE(r.out.find("7  Memory Access Speed\n"), std::string::npos);
    EXPECT_NE(r.out.find("8  Calc\n"), std::string::npos);
}

TEST(Usage, HelpGoesToStandardOutput) {
    const CliOutput r = runCliCaptured({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Usage: pelorin-cli", 0), 0u);
    EXPECT_TRUE(r.err.empty());
}

TEST(Usage, VersionIsTheBuildsOwn) {
    const CliOutput r = runCliCaptured({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "pelorin-cli " PELORIN_VERSION "\n");
    EXPECT_TRUE(r.err.empty());
}

}  // namespace
