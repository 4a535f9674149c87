// Frame operations every stage routine shares.
#pragma once

#include <cstdint>

void presentFrame();                   // copies the whole frame buffer to the window
void fillFrame(std::uint32_t pixel);   // one pixel value into all 921,600 pixels
void copyWallpaper();                  // the wallpaper, word for word, when it has pixels
// The heading of a stage: its label ("Stage 1") at (16, 16), its test name
// at (16, 48), in the font and colour hmemdc holds.
void drawStageHeading(const char* label, const char* name);
