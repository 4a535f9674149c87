// The built program in a child process whose address space is capped so
// that the first, or only the second, 256 MiB work buffer cannot be had:
// it must end at once with exit(-1) or exit(-4), without a message and
// without hanging on.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "child_process.h"
#include "kernels/work_buffers.h"

namespace {

constexpr long kMiB = 1024 * 1024;
constexpr long kBuffer = static_cast<long>(kWorkBufferBytes);

// Both buffers have been prefaulted once the program holds more than both
// in memory; from then on it only draws frames.
bool pastBothBuffers(pid_t pid) { return procStatusKiB(pid, "VmRSS") * 1024 > 2 * kBuffer; }

ChildResult runProgram(rlim_t limit, long* addressSpaceKiB = nullptr) {
    ChildOptions options;
    options.argv = {buildDirectory() + "/pelorin"};
    options.workingDirectory = buildDirectory();
    options.environment = {"SDL_VIDEODRIVER=offscreen"};
    options.addressSpaceLimit = limit;
    options.timeout = std::chrono::seconds(60);
    options.stopWhen = [addressSpaceKiB](pid_t pid) {
        if (!pastBothBuffers(pid)) return false;
        if (addressSpaceKiB) {
            // Let the start-up finish (fonts, the resized window) first.
            usleep(500 * 1000);
            *addressSpaceKiB = procStatusKiB(pid, "VmSize");
        }
        return true;
    };
    return runChild(options);
}

std::string describe(const ChildResult& r) {
    if (r.exited) return "exit status " + std::to_string(r.exitStatus);
    if (r.stopped) return "got past both buffers";
    if (r.timedOut) return "hung";
    return "killed by signal " + std::to_string(r.signal);
}

// Looks for an address-space cap under which the program ends with
// `wanted`, starting from `guess` and moving by a fraction of a buffer: down
// when it got further than wanted, up when it failed before.
ChildResult searchLimit(long guess, int wanted, int furtherStatus, std::string& log) {
    long limit = guess;
    ChildResult r;
    for (int attempt = 0; attempt < 8; ++attempt) {
        r = runProgram(static_cast<rlim_t>(limit));
        log += "  limit " + std::to_string(limit / kMiB) + " MiB: " + describe(r) + "\n";
        if (r.exited && r.exitStatus == wanted) return r;
        const bool further = r.stopped || (r.exited && r.exitStatus == furtherStatus);
        limit += further ? -kBuffer / 4 : kBuffer / 8;
    }
    return r;
}

class AllocationFailure : public ::testing::Test {
protected:
    void SetUp() override {
#if defined(__SANITIZE_ADDRESS__)
        GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space; RLIMIT_AS cannot be used";
#endif
        if (childrenRunUnderEmulator())
            GTEST_SKIP() << "qemu-user keeps RLIMIT_AS for itself: the program it runs never meets the cap";
        static long measured = 0;
        if (measured == 0) {
            const ChildResult r = runProgram(RLIM_INFINITY, &measured);
            ASSERT_TRUE(r.stopped) << "the uncapped program did not get past its buffers: " << describe(r)
                                   << "\n" << r.output;
        }
        runningSize = measured * 1024;
        ASSERT_GT(runningSize, 2 * kBuffer);
    }
    long runningSize = 0;  // address space of the running program, both buffers included
};

TEST_F(AllocationFailure, FirstBufferMissingEndsWithExitCode255) {
    std::string log;
    // Half a buffer short of the first one, wherever it sits.
    const ChildResult r = searchLimit(runningSize - 2 * kBuffer + kBuffer / 2, 255, 252, log);
    std::printf("%s", log.c_str());
    ASSERT_TRUE(r.exited) << log;
    EXPECT_EQ(r.exitStatus, 255) << log;
    EXPECT_EQ(r.output.find("Pelorin Benchmark"), std::string::npos) << "no message is shown:\n" << r.output;
}

TEST_F(AllocationFailure, SecondBufferMissingEndsWithExitCode252) {
    std::string log;
    const ChildResult r = searchLimit(runningSize - kBuffer / 2, 252, -1, log);
    std::printf("%s", log.c_str());
    ASSERT_TRUE(r.exited) << log;
    EXPECT_EQ(r.exitStatus, 252) << log;
    EXPECT_EQ(r.output.find("Pelorin Benchmark"), std::string::npos) << "no message is shown:\n" << r.output;
}

}  // namespace
