#include <cstdio>
#include <cstring>

#include "platform/win32.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>

void cpuid(int regs[4], int leaf) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    __cpuid(static_cast<unsigned>(leaf), a, b, c, d);
    regs[0] = static_cast<int>(a);
    regs[1] = static_cast<int>(b);
    regs[2] = static_cast<int>(c);
    regs[3] = static_cast<int>(d);
}

#else

// No CPUID here: the brand-string leaves answer with the "model name" (or
// similar) line of /proc/cpuinfo, 16 bytes a leaf, so callers that build the
// 48-byte brand string still get something readable.
void cpuid(int regs[4], int leaf) {
    std::memset(regs, 0, 16);
    if (leaf < static_cast<int>(0x80000002u) || leaf > static_cast<int>(0x80000004u)) return;
    char brand[49] = {};
    if (FILE* f = std::fopen("/proc/cpuinfo", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f)) {
            const char* colon = std::strchr(line, ':');
            if (colon && (!std::strncmp(line, "model name", 10) || !std::strncmp(line, "Model", 5) ||
                          !std::strncmp(line, "cpu model", 9))) {
                std::snprintf(brand, sizeof brand, "%s", colon + 2);
                brand[std::strcspn(brand, "\n")] = 0;
                break;
            }
        }
        std::fclose(f);
    }
    std::memcpy(regs, brand + (leaf - static_cast<int>(0x80000002u)) * 16, 16);
}

#endif
