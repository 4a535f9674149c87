#include "stages/stage_state.h"

std::int32_t stage = 0;
std::int32_t phase = 0;
std::int32_t t_start = 0;
std::int32_t t_end = 0;
std::int32_t bEnter = 0;
std::int32_t vadd = 0;
std::int32_t vy = 0;

PAINTSTRUCT ps;
HFONT hFont = nullptr;
HFONT hFont01 = nullptr;
char cpuid_brand[49];

std::int32_t FontSpeed1, FontSpeed2, FastBltSpeed, StretchBltSpeed, DrawSpriteSpeed, DrawSpriteAlphaSpeed;
double _FontSpeed1, _FontSpeed2, _FastBltSpeed, _StretchBltSpeed, _DrawSpriteSpeed, _DrawSpriteAlphaSpeed;

double read1, read2, read3, write1, write2, write3, copy1, copy2, copy3;
double _read1, _read2, _read3, _write1, _write2, _write3, _copy1, _copy2, _copy3;
double calc_add, calc_sub, calc_mul, calc_div;
double _calc_add, _calc_sub, _calc_mul, _calc_div;
