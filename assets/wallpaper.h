#pragma once

#include "assets/raster.h"

// The 1280×720 backdrop, upright (first row = top of the window): a night sky
// over a glowing grid horizon, calm and dark where the title logo sits.
RgbaImage makeWallpaper();
