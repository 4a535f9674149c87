// Encodes a Windows icon file (.ico) holding several sizes of the same art.
#pragma once

#include <vector>

#include "assets/raster.h"

struct IcoImage {
    const RgbaImage* image;                 // square, 1 to 256 pixels a side
    const std::vector<unsigned char>* png;  // the image encoded as PNG, or null to store it as a bitmap
};

// Bitmaps are 32-bit with their AND mask, which every reader of icons
// knows; Windows reads PNG images (used for the 256-pixel size, where a
// bitmap would take 256 KiB) from Vista on.
std::vector<unsigned char> encodeIco(const std::vector<IcoImage>& images);
