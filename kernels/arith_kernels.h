// The arithmetic kernels.  Each returns the best of 16 runs of 100,000,000
// loop turns in "times/S" (a whole number) and leaves the best run's
// duration in kernel_best_seconds.
#pragma once

#include <cstdint>

// Millisecond clock readings of the last run of the kernel called last.
extern std::int32_t time_start;
extern std::int32_t time_end;

double bench_calc_add();
double bench_calc_sub();
double bench_calc_mul();
double bench_calc_div();
