// The one 1280x720 32-bit frame buffer every stage draws into.  It is a
// bottom-up DIB section: memory row r is shown on window row 719 - r, 5120
// bytes a row with no gap.  Pixel words are blue, green, red and a fourth
// byte the display ignores.
#pragma once

#include <cstdint>

#include "platform/win32.h"

extern std::int32_t viewW;  // 1280, never changed
extern std::int32_t viewH;  // 720, never changed
extern std::uint8_t* vramptr;  // first byte of the pixel memory; null until created
extern HBITMAP hvram;          // the DIB section
extern HDC hmemdc;             // memory DC holding hvram
