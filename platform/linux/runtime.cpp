#include <cstdarg>
#include <cstdio>

#include "platform/win32.h"

namespace {
// The state starts at 1, as the runtime's does when nobody seeds it.
std::uint32_t randState = 1;
}  // namespace

int crt_rand() {
    randState = randState * 214013u + 2531011u;
    return static_cast<int>((randState >> 16) & 0x7FFFu);
}

void crt_srand(unsigned seed) { randState = seed; }

int crt_snprintf(char* buffer, std::size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, size, format, args);
    va_end(args);
    return length;
}
