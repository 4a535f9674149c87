#pragma once

#include "assets/raster.h"

// A strip of 32×32 sprites, upright. The sprite blitters draw any pixel whose
// alpha is not 0 as opaque, so edges are hard: pixels less than half covered
// stay transparent and the rest are darkened toward a rim colour instead of
// being blended.
RgbaImage makeSpriteSheet();
