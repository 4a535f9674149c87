// A path given to pelorin-cli to read may name anything a tarball or a
// prank can leave: a FIFO nobody writes to, a device, a folder, a file of
// a hundred gigabytes.  Each is refused in one line at once, by the real
// program: run in process, a reader that blocked would stop the tests.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "cli/cli_fixture.h"
#include "reliability/child_process.h"

namespace {

ChildResult cli(const std::vector<std::string>& args) {
    ChildOptions child;
    child.argv = {buildDirectory() + "/pelorin-cli"};
    child.argv.insert(child.argv.end(), args.begin(), args.end());
    child.environment = {"SDL_VIDEODRIVER=offscreen"};
    child.timeout = std::chrono::milliseconds(20000);
    return runChild(child);
}

std::string fifoAt(const std::string& name) {
    const std::string path = freshTempPath(name);
    EXPECT_EQ(mkfifo(path.c_str(), 0600), 0) << path;
    return path;
}

TEST(SpecialFiles, AreRefusedInOneLineBeforeTheyAreRead) {
    const std::string store = storeWithOneRun("special_files.sqlite");
    const std::string fifo = fifoAt("laptop.json");
    const std::string huge = writeTempFile("huge.json", "");
    std::filesystem::resize_file(huge, std::uintmax_t(100) << 30);  // sparse
    // A store whose log is a FIFO: SQLite would open it to read.
    const std::string withFifoLog = storeWithOneRun("fifo_log.sqlite");
    fifoAt("fifo_log.sqlite-wal");
    const std::string fifoStore = fifoAt("fifo_store.sqlite");

    const std::string isFifo = "it is a FIFO, not a file";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string says;
    };
    const Case cases[] = {
        {{"import", fifo, "--store", store}, 1, fifo + ": refused: " + isFifo},
        {{"check", fifo, "last", "--store", store}, 2, "check: cannot read the compare file '" + fifo + "': " + isFifo},
        {{"check", "1", fifo, "--store", store}, 2, "'" + fifo + "': " + isFifo},
        {{"-b", "8", "--compare", fifo, "--store", store}, 2, "cannot read the compare file '" + fifo + "': " + isFifo},
        {{"-b", "8", "--compare", fifo, "--fail-on-regression", "5", "--store", store}, 2, isFifo},
        {{"import", "/dev/zero", "--store", store}, 1, "/dev/zero: refused: it is a device, not a file"},
        {{"import", ::testing::TempDir(), "--store", store}, 1, "refused: it is a folder"},
        {{"import", huge, "--store", store}, 1, huge + ": refused: it is larger than 64 MiB"},
        {{"history", "--store", fifoStore}, 2, "the results store " + fifoStore + " cannot be read: " + isFifo},
        {{"export", "1", "--store", withFifoLog}, 2, "its wal file " + withFifoLog + "-wal: " + isFifo},
    };
    for (const Case& c : cases) {
        const ChildResult r = cli(c.args);
        ASSERT_FALSE(r.timedOut) << c.says << ": blocked";
        EXPECT_TRUE(r.exited && r.exitStatus == c.status) << c.says << "\n" << r.output;
        EXPECT_NE(r.output.find(c.says), std::string::npos) << r.output;
        EXPECT_EQ(r.output.find('\n'), r.output.size() - 1) << r.output;
    }
    for (const std::string& path : {fifo, huge, withFifoLog + "-wal", fifoStore}) std::filesystem::remove(path);
}

}  // namespace
