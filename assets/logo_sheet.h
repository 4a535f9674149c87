#pragma once

#include "assets/raster.h"
#include "assets/text_mask.h"

// The logo sheet, upright and the size of the screen. Every drawn pixel is
// flattened onto the wallpaper beneath it, because the title screen draws any
// pixel whose alpha is not 0 as fully opaque: soft edges and glows then still
// look right. Everything around the lettering keeps alpha 0.
RgbaImage makeLogoSheet(const RgbaImage& uprightWallpaper, TextRasterizer& text);
