#pragma once

#include <cstdint>

extern std::int32_t virtical;  // Stage 3's scroll offset in rows, 0 to 719
extern std::int32_t length;    // Stage 4's zoom step: see kFirstZoomStep and nextZoomStep

// Stage 4's destination rectangle for a zoom step: the frame magnified by
// 1 + step/8192 about the window centre.
struct ZoomRect {
    std::int32_t x, y, w, h;
};
ZoomRect zoomRect(std::int32_t step);

// Stage 4 starts every run at this step, a 2x zoom, and draws the next step
// each frame.  The restart after step 8191 lies behind the first step, so
// within a run the zoom only grows: the faster the machine, the further.
constexpr std::int32_t kFirstZoomStep = 8192;
std::int32_t nextZoomStep(std::int32_t step);
