#include "cli/results/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {

// "" for a regular file, else what it is instead.
std::string kindProblem(mode_t mode) {
    if (S_ISREG(mode)) return "";
    if (S_ISDIR(mode)) return "it is a folder";
    if (S_ISFIFO(mode)) return "it is a FIFO, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "it is a device, not a file";
    if (S_ISSOCK(mode)) return "it is a socket, not a file";
    return "it is not a regular file";
}

std::string tooLarge(std::size_t limit) { return "it is larger than " + std::to_string(limit >> 20) + " MiB"; }

// Closes the descriptor on every way out.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) close(fd);
    }
};

}  // namespace

std::string notAFileProblem(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return "";
    return kindProblem(status.st_mode);
}

bool readInputFile(const std::string& path, std::size_t limit, std::string& text, std::string& error) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (error = kindProblem(status.st_mode); !error.empty()) return false;
    // O_NONBLOCK: should a FIFO have taken the file's place since, opening
    // it does not wait for a writer.  Reading a regular file ignores it.
    const Descriptor file{open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0 || fstat(file.fd, &status) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (error = kindProblem(status.st_mode); !error.empty()) return false;
    if (static_cast<std::uintmax_t>(status.st_size) > limit) {
        error = tooLarge(limit);
        return false;
    }
    text.clear();
    text.reserve(static_cast<std::size_t>(status.st_size));
    // One byte past the limit is enough to know the file is too large.
    char chunk[65536];
    while (text.size() <= limit) {
        const std::size_t wanted = std::min(sizeof chunk, limit + 1 - text.size());
        const ssize_t got = read(file.fd, chunk, wanted);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = std::strerror(errno);
            return false;
        }
        if (got == 0) return true;
        text.append(chunk, static_cast<std::size_t>(got));
    }
    error = tooLarge(limit);
    return false;
}
