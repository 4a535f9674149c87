#include <intrin.h>

#include "platform/win32.h"

void cpuid(int regs[4], int leaf) { __cpuid(regs, leaf); }
