// How many font-stage test frames per second the text path draws, beside a
// full-frame memcpy measured in the same run.  Frames are built as the
// stages build them, without presenting.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

#include "platform/linux/gdi_objects.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 720;
constexpr char kGothicFace[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

// The runtime's generator, so the character mix matches the stages'.
unsigned seed = 1;
int nextRand() {
    seed = seed * 214013u + 2531011u;
    return static_cast<int>(seed >> 16 & 0x7FFF);
}

struct Frame {
    std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(static_cast<std::size_t>(kWidth) * kHeight);
    DeviceContext dc;
    Frame() {
        // Bottom-up like the program's frame buffer: memory row 0 is shown last.
        dc.target.rowZero = reinterpret_cast<std::uint8_t*>(pixels.data() + static_cast<std::size_t>(kWidth) * (kHeight - 1));
        dc.target.rowStep = -static_cast<std::ptrdiff_t>(kWidth) * 4;
        dc.target.width = kWidth;
        dc.target.height = kHeight;
        dc.bkMode = TRANSPARENT;
        dc.textColor = 0xFFFFFF;
    }
    void fill(std::uint32_t v) { std::fill(pixels.begin(), pixels.end(), v); }
};

void stage1Frame(Frame& f, FontObject* small) {
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    f.fill(0);
    f.dc.font = small;
    for (int y = 0; y < kHeight; y += 16)
        for (int x = 0; x < kWidth; x += 8) TextOutA(&f.dc, x, y, &digits[nextRand() * 35 / 32767], 1);
}

void stage2Frame(Frame& f, FontObject* small, FontObject* large) {
    static const std::uint16_t kana[] = {0x82A0, 0x82A2, 0x82A4, 0x82A6, 0x82A8};
    f.fill(0x000000FF);
    f.dc.font = large;
    for (int y = 0; y < 704; y += 32)
        for (int x = 0; x < kWidth; x += 32) {
            const std::uint16_t code = kana[nextRand() * 4 / 32767];
            const char text[3] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF), 0};
            f.dc.textColor = 0x000000;
            TextOutA(&f.dc, x - 1, y, text, 2);
            TextOutA(&f.dc, x + 1, y, text, 2);
            TextOutA(&f.dc, x, y - 1, text, 2);
            TextOutA(&f.dc, x, y + 1, text, 2);
            f.dc.textColor = 0xFFFFFF;
            TextOutA(&f.dc, x, y, text, 2);
        }
    f.dc.font = small;
}

// Frames per second of processor time spent on this thread, so that other
// work on a shared machine does not count against the text path; wall-clock
// rates are printed beside them.
struct Rate {
    double cpu;
    double wall;
};

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

template <typename Fn>
Rate framesPerSecond(Fn frame, double seconds) {
    using Clock = std::chrono::steady_clock;
    frame();  // warm the glyph cache
    long frames = 0;
    const auto start = Clock::now();
    const double cpuStart = threadSeconds();
    double cpu = 0;
    do {
        frame();
        ++frames;
        cpu = threadSeconds() - cpuStart;
    } while (cpu < seconds);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    return {frames / cpu, frames / wall};
}

void report(const char* name, Rate r, Rate yardstick, double target) {
    std::printf("%-20s %8.0f frames/s (%.4f of memcpy; wall clock %.0f frames/s), target %.0f: %s\n", name, r.cpu,
                r.cpu / yardstick.cpu, r.wall, target, r.cpu >= target ? "met" : "MISSED");
}

}  // namespace

int main() {
    std::unique_ptr<GdiObject> small(CreateFontA(16, 8, 0, 0, 400, 0, 0, 0, 128, 0, 0, 0, 0, kGothicFace));
    std::unique_ptr<GdiObject> large(CreateFontA(32, 16, 0, 0, 400, 0, 0, 0, 128, 0, 0, 0, 16, kGothicFace));
    if (!small || !large) {
        std::printf("no font\n");
        return 1;
    }
    auto* smallFont = static_cast<FontObject*>(small.get());
    auto* largeFont = static_cast<FontObject*>(large.get());

    Frame frame;
    std::vector<std::uint32_t> copy(frame.pixels.size());
    const Rate memcpyFps = framesPerSecond(
        [&] {
            std::memcpy(copy.data(), frame.pixels.data(), frame.pixels.size() * 4);
            frame.pixels[copy[12345] & 0xFF] ^= 1;  // keep the copy observable
        },
        1.0);
    const Rate stage1 = framesPerSecond([&] { stage1Frame(frame, smallFont); }, 2.0);
    const Rate stage2 = framesPerSecond([&] { stage2Frame(frame, smallFont, largeFont); }, 2.0);

    std::printf("%-20s %8.0f frames/s (wall clock %.0f frames/s)\n", "memcpy 1280x720x4", memcpyFps.cpu,
                memcpyFps.wall);
    report("font stage 1 frame", stage1, memcpyFps, 600);
    report("font stage 2 frame", stage2, memcpyFps, 250);
    return 0;
}
