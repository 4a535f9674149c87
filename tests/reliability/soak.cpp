// Long runs on the virtual clock: title, Stages 1-8, results and Enter, over
// and over.  Resident memory must stay flat after the first pass, and two
// fresh processes fed the same clock and keys must present the same frames.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "frame_checks.h"
#include "platform/linux/drive_hooks.h"
#include "support/quick_kernels.h"
#include "stages/stage_state.h"
#include "support/program_harness.h"

namespace {

long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

int soakPasses() {
    if (const char* v = std::getenv("PELORIN_SOAK_PASSES"); v && *v) return std::max(2, std::atoi(v));
    return 50;
}

// Drives whole passes: Enter on the title screen and on the result screen,
// 500 ms of virtual time a frame, and a close once `passes` result screens
// have been left.  `onPass` hears of each pass as it ends.
ProgramHarness::Script loopingScript(int passes, std::function<void(int)> onPass) {
    return [passes, onPass = std::move(onPass), done = 0, last = std::int32_t{-1}](long) mutable {
        if (last == 13 && stage == 0) {
            ++done;
            if (onPass) onPass(done);
            if (done == passes) drive::requestClose();
        }
        last = stage;
        if (stage == 3 || stage == 13) drive::tapKey(VK_RETURN);
        drive::advanceVirtualTime(500);
    };
}

TEST(Soak, FiftyPassesKeepResidentMemoryFlat) {
    quick::Kernels kernels;
    ProgramHarness program;
    const int passes = soakPasses();
    std::vector<long> resident;
    const int exitCode = program.run(loopingScript(passes, [&](int) { resident.push_back(residentKiB()); }));
    EXPECT_EQ(exitCode, 0);
    ASSERT_EQ(resident.size(), static_cast<std::size_t>(passes));
    std::printf("resident after pass 1: %ld KiB, after pass %d: %ld KiB\n", resident.front(), passes,
                resident.back());
    long highest = 0;
    for (std::size_t i = 1; i < resident.size(); ++i) highest = std::max(highest, resident[i]);
    EXPECT_LE(highest - resident.front(), 2048) << "more than 2 MiB grew after the first pass";
}

// Run only as a child of the test below: writes the hash of every presented
// frame of two passes, one a line, to the file the environment names.
TEST(SoakChild, WritesFrameHashes) {
    const char* path = std::getenv("PELORIN_FRAME_HASH_FILE");
    if (path == nullptr) GTEST_SKIP() << "only run as a child process";
    quick::Kernels kernels;
    ProgramHarness program;
    std::FILE* out = std::fopen(path, "w");
    ASSERT_NE(out, nullptr);
    drive::setPresentHook([out](const drive::Frame& f) {
        std::fprintf(out, "%d %d %016llx\n", stage, phase, static_cast<unsigned long long>(frameHash(f)));
    });
    EXPECT_EQ(program.run(loopingScript(2, nullptr)), 0);
    std::fclose(out);
}

std::vector<std::string> lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

TEST(Soak, TwoFreshProcessesPresentTheSameFrames) {
    char folder[] = "/tmp/pelorin-hashes-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    std::vector<std::vector<std::string>> runs;
    for (int i = 0; i < 2; ++i) {
        const std::string file = std::string(folder) + "/run" + std::to_string(i);
        ChildOptions options;
        options.argv = {"/proc/self/exe", "--gtest_filter=SoakChild.WritesFrameHashes"};
        options.environment = {"PELORIN_FRAME_HASH_FILE=" + file};
        options.timeout = std::chrono::minutes(10);
        const ChildResult r = runChild(options);
        ASSERT_TRUE(r.exited && r.exitStatus == 0) << r.output;
        runs.push_back(lines(file));
        std::remove(file.c_str());
    }
    rmdir(folder);
    ASSERT_GT(runs[0].size(), 1500u);
    ASSERT_EQ(runs[0].size(), runs[1].size());
    for (std::size_t i = 0; i < runs[0].size(); ++i)
        ASSERT_EQ(runs[0][i], runs[1][i]) << "frame " << i << " differs";
}

}  // namespace
