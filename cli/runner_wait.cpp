#include "cli/runner_wait.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

bool enterOnInput(int fd, int waitMs) {
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, waitMs);
    if (ready < 0) return errno != EINTR;
    if (ready == 0) return false;
    char text[256];
    const ssize_t n = read(fd, text, sizeof text);
    if (n <= 0) return !(n < 0 && (errno == EINTR || errno == EAGAIN));
    return std::find(text, text + n, '\n') != text + n;
}
