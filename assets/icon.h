#pragma once

#include "assets/raster.h"
#include "assets/title_layout.h"

// The window icon: a speedometer emblem on a transparent square, drawn at
// `size` pixels (256 for the program's own icon; the desktop's icon theme
// takes smaller sizes of the same art).
RgbaImage makeIcon(int size = kIconSize);
