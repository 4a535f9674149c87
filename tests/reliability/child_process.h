// Starting the built program (or this test program) as a child process and
// watching it from outside: its exit status, its output, its memory.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

struct ChildOptions {
    std::vector<std::string> argv;                      // argv[0] is the program's path
    std::vector<std::string> environment;               // NAME=value, added to this process's own
    std::string workingDirectory;                       // empty: this process's own
    rlim_t addressSpaceLimit = RLIM_INFINITY;           // RLIMIT_AS of the child, in bytes
    std::chrono::milliseconds timeout{60000};           // killed after this long
    // Asked every few milliseconds while the child runs; true stops it.
    std::function<bool(pid_t)> stopWhen;
    // The child's standard output, instead of the output caught with its
    // standard error: a file to open for writing (/dev/full), or with
    // `standardOutputReaderGone` a pipe whose reader has closed it.
    std::string standardOutputPath;
    bool standardOutputReaderGone = false;
};

struct ChildResult {
    bool exited = false;    // ended on its own with an exit status
    int exitStatus = -1;    // 0 to 255 when `exited`
    bool stopped = false;   // stopWhen asked for it to be killed
    bool timedOut = false;
    int signal = 0;         // the signal that ended it, if one did
    std::string output;     // stdout (unless it went elsewhere) and stderr together
};

ChildResult runChild(const ChildOptions& options);

// True in a cross build, whose programs (children included) run under an
// emulator such as qemu-user.
bool childrenRunUnderEmulator();
// What starts one of the build's programs in a shell command line: the
// emulator and a space in a cross build, nothing otherwise.
std::string emulatorCommandPrefix();

// A field of /proc/PID/status in kibibytes ("VmSize", "VmRSS", ...); -1 if
// the process or the field is gone.
long procStatusKiB(pid_t pid, const char* field);

// Where the tests find the built program and its images.
std::string buildDirectory();
