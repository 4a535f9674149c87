#pragma once

#include "assets/raster.h"

// The 256×256 window icon: a speedometer emblem on a transparent square.
RgbaImage makeIcon();
