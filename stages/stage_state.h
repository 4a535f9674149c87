// Where a run stands, the Enter latch, the shared paint state and every
// figure the stages measure.  All of it is process-wide and starts at zero.
#pragma once

#include <cstdint>

#include "platform/win32.h"

using StageRoutine = void (*)();
extern StageRoutine const fp_main[14];

extern std::int32_t stage;    // index into fp_main, 0 to 13
extern std::int32_t phase;    // sub-state of the current stage routine
extern std::int32_t t_start;  // start of the current timed phase, timeGetTime
extern std::int32_t t_end;    // latest clock reading of a timed phase
extern std::int32_t bEnter;   // 1 once Enter has been released; stages clear it
extern std::int32_t vadd;     // result caption's step per frame: -4, 0 or +4
extern std::int32_t vy;       // result caption's offset below its home row

extern PAINTSTRUCT ps;   // the frame's paint state; ps.hdc is the window DC
extern HFONT hFont;      // selected into hmemdc before every frame
extern HFONT hFont01;    // the large font of Stage 2
extern char cpuid_brand[49];

// Frame rates (frames per second) and their ratios to the reference machine.
extern std::int32_t FontSpeed1, FontSpeed2, FastBltSpeed, StretchBltSpeed, DrawSpriteSpeed, DrawSpriteAlphaSpeed;
extern double _FontSpeed1, _FontSpeed2, _FastBltSpeed, _StretchBltSpeed, _DrawSpriteSpeed, _DrawSpriteAlphaSpeed;

// Memory figures ("MB/S") and arithmetic figures ("times/S") with ratios.
extern double read1, read2, read3, write1, write2, write3, copy1, copy2, copy3;
extern double _read1, _read2, _read3, _write1, _write2, _write3, _copy1, _copy2, _copy3;
extern double calc_add, calc_sub, calc_mul, calc_div;
extern double _calc_add, _calc_sub, _calc_mul, _calc_div;

// t_end - t_start in wrap-around 32-bit arithmetic, as a signed value, so
// the wrap of the millisecond clock does not disturb a measurement.
inline std::int32_t elapsedMs() {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(t_end) - static_cast<std::uint32_t>(t_start));
}

// Reads the millisecond clock into t_end.
inline void readClock() { t_end = static_cast<std::int32_t>(timeGetTime()); }
