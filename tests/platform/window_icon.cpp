// The window system is given an icon it keeps (at most 128 x 128), reduced
// from the program's own so that the art's transparent surround does not
// darken its edge.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/linux/window_internal.h"

namespace {

SDL_Surface* makeIcon(int size, std::uint32_t even, std::uint32_t odd) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, size, size, 32, SDL_PIXELFORMAT_ARGB8888);
    for (int y = 0; y < size; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch);
        for (int x = 0; x < size; ++x) row[x] = x % 2 == 0 ? even : odd;
    }
    return s;
}

std::uint32_t pixel(const SDL_Surface* s, int x, int y) {
    return reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(s->pixels) + y * s->pitch)[x];
}

TEST(WindowIcon, ALargeIconIsHalvedWithColoursWeightedByCoverage) {
    // Opaque red beside fully transparent black: half covered, still pure red.
    SDL_Surface* icon = makeIcon(256, 0xFFFF0000u, 0x00000000u);
    SDL_Surface* reduced = iconThatFitsWindowSystem(icon);
    ASSERT_NE(reduced, nullptr);
    EXPECT_EQ(reduced->w, kLargestWindowIcon);
    EXPECT_EQ(reduced->h, kLargestWindowIcon);
    EXPECT_EQ(pixel(reduced, 0, 0), 0x80FF0000u);
    EXPECT_EQ(pixel(reduced, 127, 127), 0x80FF0000u);
    SDL_FreeSurface(reduced);
    SDL_FreeSurface(icon);
}

TEST(WindowIcon, AnIconThatFitsIsGivenAsItIs) {
    SDL_Surface* icon = makeIcon(kLargestWindowIcon, 0xFF00FF00u, 0xFF0000FFu);
    EXPECT_EQ(iconThatFitsWindowSystem(icon), icon);
    SDL_FreeSurface(icon);
}

}  // namespace
