#include "stages/frame_ops.h"

#include <cstring>

#include "render/frame_buffer.h"
#include "render/picture.h"
#include "render/pixel_vectors.h"
#include "stages/stage_state.h"

namespace {
constexpr std::size_t kFramePixels = 1280 * 720;
}

void presentFrame() { BitBlt(ps.hdc, 0, 0, 1280, 720, hmemdc, 0, 0, SRCCOPY); }

void fillFrame(std::uint32_t pixel) {
    // Four pixels a store, as the optimiser makes of a plain loop anyway.
    auto* out = reinterpret_cast<std::uint32_t*>(vramptr);
    const std::size_t count = static_cast<std::size_t>(viewW) * static_cast<std::size_t>(viewH);
    const Words4 four = Words4{} + pixel;
    std::size_t i = 0;
    for (; i + 4 <= count; i += 4) storeWords4(out + i, four);
    for (; i < count; ++i) out[i] = pixel;
}

void copyWallpaper() {
    if (pic_wp.pixels == nullptr) return;
    std::memcpy(vramptr, pic_wp.pixels, kFramePixels * 4);
}

void drawStageHeading(const char* label, const char* name) {
    TextOutA(hmemdc, 16, 16, label, static_cast<int>(std::strlen(label)));
    TextOutA(hmemdc, 16, 48, name, static_cast<int>(std::strlen(name)));
}
