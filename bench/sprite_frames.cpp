// Frame rate of the two sprite stages' drawing work: a wallpaper copy and
// 1,024 32x32 sprites per frame, keyed (drawSprite) or blended at 255
// (drawSpriteAlpha), beside a whole-frame memcpy measured in the same run.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "render/frame_buffer.h"
#include "render/picture.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSprites = 1024;
constexpr int kPositionSets = 64;
constexpr std::size_t kFrameWords = 1280 * 720;

struct Position {
    int x;
    int y;
};

std::vector<std::uint32_t> wallpaper(kFrameWords);
std::vector<std::uint32_t> frame(kFrameWords);
std::vector<std::uint32_t> spriteSheet(32 * 32);
std::vector<Position> positions(std::size_t(kSprites) * kPositionSets);

void prepare() {
    std::uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (auto& word : wallpaper) word = 0xFF000000 | next() << 9 | next();
    // A round sprite: opaque disc, transparent corners, as a sprite sheet has.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const double dx = x - 15.5, dy = y - 15.5;
            spriteSheet[y * 32 + x] = std::sqrt(dx * dx + dy * dy) < 15.5 ? 0xFF000000 | next() << 8 | next() : 0;
        }
    for (auto& p : positions) {
        p.x = int(next() % 1249);
        p.y = int(next() % 689);
    }
    pic_sprite.width = 32;
    pic_sprite.height = 32;
    pic_sprite.pixels = spriteSheet.data();
    vramptr = reinterpret_cast<std::uint8_t*>(frame.data());
}

template <typename DrawFrame>
double framesPerSecond(DrawFrame drawFrame) {
    for (int i = 0; i < 20; ++i) drawFrame(i);  // warm caches and clocks
    long frames = 0;
    const auto start = Clock::now();
    auto now = start;
    do {
        for (int i = 0; i < 10; ++i) drawFrame(frames++);
        now = Clock::now();
    } while (now - start < std::chrono::milliseconds(1500));
    return double(frames) / std::chrono::duration<double>(now - start).count();
}

std::uint32_t checksum() {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < kFrameWords; i += 97) sum = sum * 31 + frame[i];
    return sum;
}

}  // namespace

int main() {
    prepare();

    const double memcpyFps = framesPerSecond([](long) {
        std::memcpy(frame.data(), wallpaper.data(), kFrameWords * 4);
    });
    const std::uint32_t afterCopy = checksum();

    const double keyedFps = framesPerSecond([](long n) {
        std::memcpy(frame.data(), wallpaper.data(), kFrameWords * 4);
        const Position* set = &positions[std::size_t(n % kPositionSets) * kSprites];
        for (int i = 0; i < kSprites; ++i) pic_sprite.drawSprite(0, 0, 32, 32, set[i].x, set[i].y);
    });
    const std::uint32_t afterKeyed = checksum();

    const double blendFps = framesPerSecond([](long n) {
        std::memcpy(frame.data(), wallpaper.data(), kFrameWords * 4);
        const Position* set = &positions[std::size_t(n % kPositionSets) * kSprites];
        for (int i = 0; i < kSprites; ++i) pic_sprite.drawSpriteAlpha(0, 0, 32, 32, set[i].x, set[i].y, 255);
    });
    const std::uint32_t afterBlend = checksum();

    std::printf("full-frame memcpy (yardstick)      %9.1f frames/s\n", memcpyFps);
    std::printf("keyed sprite frame  (drawSprite)   %9.1f frames/s  = %.4f x memcpy\n", keyedFps, keyedFps / memcpyFps);
    std::printf("blended sprite frame (drawSpriteAlpha 255) %9.1f frames/s  = %.4f x memcpy\n", blendFps,
                blendFps / memcpyFps);
    std::printf("(checksums %08x %08x %08x)\n", afterCopy, afterKeyed, afterBlend);
    return 0;
}
