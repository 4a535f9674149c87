// Writes a picture of the window to a PNG file.
#pragma once

#include <cstdint>

// `pixels` holds `height` rows of `width` pixel words, top row first, each
// word blue, green, red and an unused fourth byte in memory order (what the
// present hook delivers).  The file gets 8-bit RGB without alpha.  Returns
// false when the file cannot be written.
bool savePng(const char* path, const std::uint32_t* pixels, int width, int height);
