#pragma once

#include <cstdint>

extern std::int32_t virtical;  // Stage 3's scroll offset in rows, 0 to 719
extern std::int32_t length;    // Stage 4's zoom step, 1 to 8192

// Stage 4's destination rectangle for a zoom step: the frame magnified by
// 1 + step/8192 about the window centre.
struct ZoomRect {
    std::int32_t x, y, w, h;
};
ZoomRect zoomRect(std::int32_t step);
