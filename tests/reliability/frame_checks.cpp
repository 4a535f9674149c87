#include "frame_checks.h"

#include <algorithm>
#include <cstddef>

#include "render/frame_buffer.h"

std::uint64_t frameHash(const drive::Frame& f) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ (std::uint64_t(std::uint32_t(f.width)) << 32 | std::uint32_t(f.height));
    const std::size_t count = std::size_t(f.width) * std::size_t(f.height);
    for (std::size_t i = 0; i < count; ++i) {
        h ^= f.pixels[i] & 0xFFFFFFu;
        h *= 0x100000001B3ull;
        h ^= h >> 29;
    }
    return h;
}

long framePixelsOffCorner(const drive::Frame& f) {
    long wrong = 0;
    const auto* memory = reinterpret_cast<const std::uint32_t*>(vramptr);
    for (int y = 0; y < std::min(f.height, 720); ++y) {
        const std::uint32_t* shown = f.pixels + static_cast<std::ptrdiff_t>(y) * f.width;
        const std::uint32_t* drawn = memory + static_cast<std::ptrdiff_t>(719 - y) * 1280;
        for (int x = 0; x < std::min(f.width, 1280); ++x) wrong += ((shown[x] ^ drawn[x]) & 0xFFFFFF) != 0;
    }
    return wrong;
}
