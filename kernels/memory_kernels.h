// The memory bandwidth kernels.  Each returns the best of 16 runs in "MB/S"
// (4096 / seconds of a run of 4 passes over 256 MiB) and leaves the best
// run's duration in kernel_best_seconds.  mem0 and mem1 must be set.
#pragma once

double bench_read();
double bench_read2();
double bench_read3();
double bench_write();
double bench_copy();
double bench_copy2();
double bench_copy3();
