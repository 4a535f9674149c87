#pragma once

// Says once, on stderr, that the kernels are running as portable C++ loops
// instead of the x86 instruction sequences, so their figures are not the
// ones the reference machine's are comparable with.
void notePortableKernels();
