#include "kernels/portable_notice.h"

#include <cstdio>

void notePortableKernels()
{
    static bool said = false;
    if (!said) {
        said = true;
        std::fputs("pelorin: not an x86-64 build; the x86 kernels are not in use, portable loops measure instead\n",
                   stderr);
    }
}
