#include "cli/output_writing.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "cli/messages.h"
#include "cli/report/verdict.h"

namespace {

namespace fs = std::filesystem;

// Puts content into an open file; 0 when it is all there, else the errno.
// `name` names the same file, for writers that open it themselves.
using Filler = std::function<int(int fd, const std::string& name)>;

std::string failure(const std::string& path, int error) {
    return "cannot write " + path + ": " + std::strerror(error);
}

int writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// The file a path leads to through its symbolic links, so that a link
// stays a link; the path itself when it leads nowhere yet.
std::string finalPath(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;
    std::string target = resolved;
    std::free(resolved);
    return target;
}

mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Holds back ^C and the like while a temporary file exists, so that they
// take effect once it has been renamed or removed.
struct InterruptionsHeld {
    sigset_t before{};
    InterruptionsHeld() {
        sigset_t held;
        sigemptyset(&held);
        for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, s);
        pthread_sigmask(SIG_BLOCK, &held, &before);
    }
    ~InterruptionsHeld() { pthread_sigmask(SIG_SETMASK, &before, nullptr); }
};

// A device or FIFO: written where it is.  O_NONBLOCK makes opening a FIFO
// that no program reads fail at once (ENXIO) instead of waiting.
std::string writeInPlace(const std::string& path, const Filler& fill) {
    const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0 && errno == ENXIO) return "cannot write " + path + ": it is a FIFO that no program reads";
    if (fd < 0) return failure(path, errno);
    int error = fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 ? errno : 0;
    if (error == 0) error = fill(fd, path);
    if (close(fd) != 0 && error == 0) error = errno;
    return error == 0 ? "" : failure(path, error);
}

std::string replaceFile(const std::string& path, const Filler& fill) {
    const std::string target = finalPath(path);
    struct stat old {};
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) return writeInPlace(path, fill);
    // Renaming would replace a file that opening it could not change.
    if (exists && access(target.c_str(), W_OK) != 0) return failure(path, errno);

    const fs::path folder = fs::path(target).parent_path();
    std::string temporary = (folder.empty() ? fs::path(".") : folder) / ".pelorin-cli-XXXXXX";
    const InterruptionsHeld held;
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return failure(path, errno);
    int error = fchmod(fd, exists ? old.st_mode & 07777 : newFileMode()) != 0 ? errno : 0;
    if (error == 0) error = fill(fd, temporary);
    // On the disk before the name moves, so that a crash leaves the old
    // file or the whole new one.
    if (error == 0 && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error == 0) return "";
    unlink(temporary.c_str());
    return failure(path, error);
}

// True when `path` names the file that is this program's standard output
// (/dev/stdout, /proc/self/fd/1, or the file it was redirected to): written
// through the stream, it keeps its place among the rest of the output
// instead of being overwritten or replaced under it.
bool standardOutputClosed = false;  // the program started without one

bool isStandardOutput(const std::string& path) {
    struct stat named {}, out {};
    return !standardOutputClosed && stat(path.c_str(), &named) == 0 && fstat(STDOUT_FILENO, &out) == 0 &&
           named.st_dev == out.st_dev && named.st_ino == out.st_ino;
}

// Why the first write to standard output failed; 0 while none has.
int firstOutputError = 0;

// The write function of openStandardOutput's stream: the number of bytes
// written, 0 on a failure (as fopencookie asks).
ssize_t writeStandardOutput(void*, const char* data, std::size_t size) {
    if (standardOutputClosed) {
        firstOutputError = EBADF;
        return 0;
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = write(STDOUT_FILENO, data + done, size - done);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) {
            if (firstOutputError == 0) firstOutputError = errno;
            break;
        }
        done += static_cast<std::size_t>(written);
    }
    return static_cast<ssize_t>(done);
}

}  // namespace

std::string writeDocument(const std::string& path, std::string_view text, std::FILE* standardOutput) {
    if (path == "-" || isStandardOutput(path)) {
        std::fwrite(text.data(), 1, text.size(), standardOutput);
        return "";
    }
    return replaceFile(path, [&](int fd, const std::string&) { return writeAll(fd, text); });
}

std::string writeOutputFile(const std::string& path, const std::function<bool(const std::string& file)>& write) {
    return replaceFile(path, [&](int, const std::string& name) {
        errno = 0;
        if (write(name)) return 0;
        return errno != 0 ? errno : EIO;
    });
}

std::FILE* openStandardOutput() {
    // A standard descriptor closed at the start would be taken by the next
    // file opened (a temporary output file), and what is written to
    // standard output or error would land in that file: /dev/null holds
    // its place, and writes to a closed standard output still fail.
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        if (fd == STDOUT_FILENO) standardOutputClosed = true;
        const int holder = open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (holder >= 0 && holder != fd) {
            dup2(holder, fd);
            close(holder);
        }
    }
    signal(SIGPIPE, SIG_IGN);
    cookie_io_functions_t io{};
    io.write = writeStandardOutput;
    std::FILE* out = fopencookie(nullptr, "w", io);
    if (out == nullptr) return stdout;
    // As the C library does for its own stdout: line by line on a terminal.
    if (isatty(STDOUT_FILENO)) setvbuf(out, nullptr, _IOLBF, BUFSIZ);
    return out;
}

int finishStandardOutput(int status, const CliStreams& streams) {
    errno = 0;
    int error = std::fclose(streams.out) != 0 ? errno : 0;
    if (firstOutputError != 0) error = firstOutputError;
    // The C library's own stream holds nothing more; closing it says
    // whether the file took what was written (a file system may tell only now).
    if (streams.out != stdout && std::fclose(stdout) != 0 && error == 0) error = errno;
    if (error == EPIPE) {
        if (status != 0) return status;
        std::fflush(streams.err);
        signal(SIGPIPE, SIG_DFL);
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_UNBLOCK, &pipe, nullptr);
        raise(SIGPIPE);
        return 128 + SIGPIPE;  // what a shell would show had it worked
    }
    if (error != 0) {
        printError(streams, std::string("cannot write to standard output: ") + std::strerror(error));
        if (status != 2 && status != kStatusWorse) status = 1;
    }
    return status;
}
