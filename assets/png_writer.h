// Encodes 8-bit RGBA pictures as PNG, to a file or to memory.
#pragma once

#include <string>
#include <vector>

#include "assets/raster.h"

bool encodePng(const RgbaImage& image, std::vector<unsigned char>& out);
bool writeFile(const std::string& path, const std::vector<unsigned char>& bytes);
