// A 64-bit hash of a presented frame's colours (the fourth byte is not shown
// and so not hashed).
#pragma once

#include <cstdint>

#include "platform/linux/drive_hooks.h"

inline std::uint64_t frameHash(const drive::Frame& f) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ (std::uint64_t(std::uint32_t(f.width)) << 32 | std::uint32_t(f.height));
    const std::size_t count = std::size_t(f.width) * std::size_t(f.height);
    for (std::size_t i = 0; i < count; ++i) {
        h ^= f.pixels[i] & 0xFFFFFFu;
        h *= 0x100000001B3ull;
        h ^= h >> 29;
    }
    return h;
}
