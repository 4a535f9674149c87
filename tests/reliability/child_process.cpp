#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

bool childrenRunUnderEmulator() { return PELORIN_TEST_EMULATOR[0] != '\0'; }

std::string emulatorCommandPrefix() {
    return childrenRunUnderEmulator() ? std::string(PELORIN_TEST_EMULATOR) + " " : std::string();
}

namespace {

// The ELF machine field of a file; 0 when it is no ELF file.
unsigned elfMachine(const char* path) {
    unsigned char header[20] = {};
    std::ifstream file(path, std::ios::binary);
    file.read(reinterpret_cast<char*>(header), sizeof header);
    if (!file || std::memcmp(header, "\x7F" "ELF", 4) != 0) return 0;
    return header[18] | header[19] << 8;  // little-endian, as on both our processors
}

// Whether the program is built for the processor this test program is, and
// so needs the emulator as this one does (a host tool such as /bin/sh does not).
bool builtLikeUs(const std::string& program) {
    const unsigned machine = elfMachine(program.c_str());
    return machine != 0 && machine == elfMachine("/proc/self/exe");
}

}  // namespace

ChildResult runChild(const ChildOptions& options) {
    ChildResult result;
    char outputPath[] = "/tmp/pelorin-child-XXXXXX";
    const int outputFd = mkstemp(outputPath);
    if (outputFd < 0) return result;
    unlink(outputPath);

    std::vector<std::string> command = options.argv;
    // A cross build's programs run under an emulator, which the kernel does
    // not start by itself; such a child goes through it too, with the real
    // path of the program (the emulator's own /proc/self/exe is not ours).
    if (childrenRunUnderEmulator() && !command.empty() && builtLikeUs(command[0])) {
        if (char* resolved = realpath(command[0].c_str(), nullptr)) {
            command[0] = resolved;
            std::free(resolved);
        }
        command.insert(command.begin(), PELORIN_TEST_EMULATOR);
    }
    std::vector<char*> argv;
    for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        dup2(outputFd, 1);
        dup2(outputFd, 2);
        if (!options.standardOutputPath.empty()) {
            const int out = open(options.standardOutputPath.c_str(), O_WRONLY);
            if (out < 0 || dup2(out, 1) < 0) _exit(124);
        } else if (options.standardOutputReaderGone) {
            int ends[2];
            if (pipe(ends) != 0 || dup2(ends[1], 1) < 0) _exit(124);
            close(ends[0]);
        }
        for (const std::string& e : options.environment) putenv(const_cast<char*>(e.c_str()));
        if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0) _exit(126);
        if (options.addressSpaceLimit != RLIM_INFINITY) {
            const rlimit limit{options.addressSpaceLimit, options.addressSpaceLimit};
            if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(125);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    if (pid < 0) {
        close(outputFd);
        return result;
    }

    const auto deadline = std::chrono::steady_clock::now() + options.timeout;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (options.stopWhen && options.stopWhen(pid)) {
            result.stopped = true;
        } else if (std::chrono::steady_clock::now() > deadline) {
            result.timedOut = true;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        break;
    }
    if (!result.stopped && !result.timedOut) {
        if (WIFEXITED(status)) {
            result.exited = true;
            result.exitStatus = WEXITSTATUS(status);
        } else if (WIFSIGNALED(status)) {
            result.signal = WTERMSIG(status);
        }
    }

    lseek(outputFd, 0, SEEK_SET);
    char buffer[4096];
    ssize_t got;
    while ((got = read(outputFd, buffer, sizeof buffer)) > 0) result.output.append(buffer, std::size_t(got));
    close(outputFd);
    return result;
}

long procStatusKiB(pid_t pid, const char* field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    const std::string prefix = std::string(field) + ":";
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, prefix.size(), prefix) != 0) continue;
        std::istringstream value(line.substr(prefix.size()));
        long kib = -1;
        value >> kib;
        return kib;
    }
    return -1;
}

std::string buildDirectory() {
    const char* assets = std::getenv("PELORIN_TEST_ASSETS");
    if (assets && *assets) return assets;
    char here[4096];
    return getcwd(here, sizeof here) ? here : ".";
}
