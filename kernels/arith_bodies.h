// The timed loops of the arithmetic kernels: `iterations` (at least 1) turns
// of one operation on 32-bit registers, each closed by LOOP with the count
// in ECX.  The values computed are discarded.
#pragma once

#include <cstdint>

// ADD EAX, 1 on whatever EAX holds.
void addLoop(std::uint32_t iterations);
// SUB EAX, 1 on whatever EAX holds.
void subLoop(std::uint32_t iterations);
// EAX := 1 first; then MUL EAX, which leaves EAX 1 and EDX 0.
void mulLoop(std::uint32_t iterations);
// EAX := 1; EDX := 0; DIV EAX, every turn.  EAX, EDX and ECX are saved on
// the stack around the loop.
void divLoop(std::uint32_t iterations);
