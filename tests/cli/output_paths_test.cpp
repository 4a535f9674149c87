// Files pelorin-cli writes never take the place of the results store, and
// a file it cannot write is refused before anything is measured or read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "cli/cli_fixture.h"
#include "cli/results/results_store.h"

namespace {

namespace fs = std::filesystem;

void expectRefused(const std::vector<std::string>& args, const std::string& says) {
    const CliOutput r = runCliCaptured(args);
    EXPECT_EQ(r.status, 2) << args.front() << " " << args.back() << ": " << r.err;
    EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    EXPECT_TRUE(r.out.empty()) << r.out;
}

TEST(OutputPaths, TheStoreItselfIsNeverOverwritten) {
    const std::string store = storeWithOneRun("target.sqlite");
    const std::string symlink = freshTempPath("link_to_store.md");
    const std::string hardLink = freshTempPath("hard_link_to_store.csv");
    fs::create_symlink(store, symlink);
    fs::create_hard_link(store, hardLink);
    const std::string before = readFile(store);
    for (const std::string& path : {store, symlink, hardLink, store + "-wal", store + "-shm", store + "-journal"}) {
        expectRefused({"report", "-o", path, "--store", store}, "it is the results store");
        expectRefused({"report", "--markdown", path, "--store", store}, "it is the results store");
        expectRefused({"-b", "8", "--csv", path, "--store", store}, "it is the results store");
        expectRefused({"-b", "8", "--no-save", "--json", path, "--store", store}, "it is the results store");
    }
    EXPECT_EQ(readFile(store), before);

    // The default store as well, when none is named (a default of this
    // test's own: other tests expect theirs never to be made).
    const std::string savedDataHome = std::getenv("XDG_DATA_HOME");
    setenv("XDG_DATA_HOME", (::testing::TempDir() + "output_paths_data").c_str(), 1);
    std::string error;
    const std::string defaultStore = defaultStorePath(error);
    fs::create_directories(fs::path(defaultStore).parent_path());
    if (!fs::exists(defaultStore)) storeWithOneRunAt(defaultStore);
    expectRefused({"-b", "8", "--screenshot", defaultStore}, "it is the results store");
    expectRefused({"report", "--csv", defaultStore}, "it is the results store");
    setenv("XDG_DATA_HOME", savedDataHome.c_str(), 1);
}

TEST(OutputPaths, UnwritablePlacesAreRefusedBeforeMeasuring) {
    const std::string folder = ::testing::TempDir() + "an_output_folder";
    fs::create_directories(folder);
    expectRefused({"-b", "8", "--json", folder}, "it is a folder");
    expectRefused({"-b", "8", "--markdown", folder + "/missing/figures.md"}, "No such file or directory");
    const std::string file = writeTempFile("an_output_folder/a_file", "kept");
    expectRefused({"-b", "8", "--csv", file + "/figures.csv"}, "Not a directory");
    EXPECT_EQ(readFile(file), "kept");
    expectRefused({"report", "-o", folder}, "it is a folder");
}

}  // namespace
