// The icon the window system is given, reduced to a size it keeps.
#include <SDL.h>

#include <algorithm>
#include <cstdint>

#include "platform/linux/window_internal.h"

namespace {

std::uint32_t pixelAt(const SDL_Surface* s, int x, int y) {
    const auto* row = static_cast<const std::uint8_t*>(s->pixels) + static_cast<std::ptrdiff_t>(y) * s->pitch;
    return reinterpret_cast<const std::uint32_t*>(row)[x];
}

// The average of a factor x factor block, cut at the icon's edges.  Colours
// are weighted by their alpha, so transparent pixels around the art do not
// darken its edge.
std::uint32_t blockAverage(const SDL_Surface* icon, int left, int top, int factor) {
    const int right = std::min(left + factor, icon->w);
    const int bottom = std::min(top + factor, icon->h);
    std::uint32_t a = 0, r = 0, g = 0, b = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const std::uint32_t p = pixelAt(icon, x, y);
            const std::uint32_t alpha = p >> 24;
            a += alpha;
            r += (p >> 16 & 0xFF) * alpha;
            g += (p >> 8 & 0xFF) * alpha;
            b += (p & 0xFF) * alpha;
        }
    if (a == 0) return 0;
    const auto count = static_cast<std::uint32_t>((right - left) * (bottom - top));
    const std::uint32_t outA = (a + count / 2) / count;
    return outA << 24 | (r + a / 2) / a << 16 | (g + a / 2) / a << 8 | (b + a / 2) / a;
}

}  // namespace

SDL_Surface* iconThatFitsWindowSystem(SDL_Surface* icon) {
    if (icon == nullptr || icon->format->format != SDL_PIXELFORMAT_ARGB8888) return icon;
    const int factor = (std::max(icon->w, icon->h) + kLargestWindowIcon - 1) / kLargestWindowIcon;
    if (factor <= 1) return icon;
    const int width = std::max(icon->w / factor, 1);
    const int height = std::max(icon->h / factor, 1);
    SDL_Surface* reduced = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (reduced == nullptr) return nullptr;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(reduced->pixels) +
                                                     static_cast<std::ptrdiff_t>(y) * reduced->pitch);
        for (int x = 0; x < width; ++x) row[x] = blockAverage(icon, x * factor, y * factor, factor);
    }
    return reduced;
}
