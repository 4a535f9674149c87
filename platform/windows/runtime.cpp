// The services the C runtime gives the program: Windows's own C runtime
// (msvcrt), not the compiler runtime's stand-ins.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "platform/win32.h"

int crt_rand() { return std::rand(); }

void crt_srand(unsigned seed) { std::srand(seed); }

// The compiler's C++ library routes std::snprintf to a formatter of its own;
// _vsnprintf is msvcrt's, which does not terminate a cut string itself.
int crt_snprintf(char* buffer, std::size_t size, const char* format, ...) {
    if (size == 0) return -1;
    va_list args;
    va_start(args, format);
    const int length = _vsnprintf(buffer, size - 1, format, args);
    va_end(args);
    buffer[size - 1] = '\0';
    if (length >= 0) buffer[length] = '\0';
    return length;
}
