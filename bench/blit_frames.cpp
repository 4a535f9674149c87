// The copies Stages 3 and 4 measure, without the present: two clipped
// BitBlts of the bottom-up frame buffer to a window-sized surface, and the
// zoomed StretchBlt over its whole zoom cycle, beside a whole-frame memcpy
// measured in the same run.  The zoom is also run through pixman's nearest
// filter, to show which of the two the layer should use.
#include <pixman.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/win32.h"
#include "stages/blit_stages.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kFrameBytes = 1280 * 720 * 4;

template <typename Frame>
double framesPerSecond(Frame frame, long minimumFrames) {
    for (int i = 0; i < 10; ++i) frame(i);
    long frames = 0;
    const auto start = Clock::now();
    double seconds = 0;
    while (frames < minimumFrames || seconds < 1.0) {
        frame(frames++);
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return frames / seconds;
}

HDC makeSurface(LONG height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{40, 1280, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0));
    return dc;
}

}  // namespace

int main() {
    void* frameBits = nullptr;
    void* windowBits = nullptr;
    HDC frame = makeSurface(720, &frameBits);     // bottom-up, as the program's frame buffer
    HDC window = makeSurface(-720, &windowBits);  // top-down, as a window surface
    auto* pixels = static_cast<std::uint32_t*>(frameBits);
    for (std::size_t i = 0; i < 1280 * 720; ++i) pixels[i] = static_cast<std::uint32_t>(i * 2654435761u);

    std::vector<std::uint8_t> copy(kFrameBytes);
    const double memcpyRate = framesPerSecond(
        [&](long i) {
            std::memcpy(copy.data(), frameBits, kFrameBytes);
            static_cast<volatile std::uint8_t*>(copy.data())[i % 64] = 0;
        },
        2000);

    const double scrollRate = framesPerSecond(
        [&](long i) {
            const int v = static_cast<int>(i % 720);
            BitBlt(window, 0, 0, 1280, 720, frame, 0, v, SRCCOPY);
            BitBlt(window, 0, 0, 1280, 720, frame, 0, v - 720, SRCCOPY);
        },
        2000);

    const double zoomRate = framesPerSecond(
        [&](long i) {
            const ZoomRect r = zoomRect(static_cast<std::int32_t>(i % 8191 + 1));
            StretchBlt(window, r.x, r.y, r.w, r.h, frame, 0, 0, 1280, 720, SRCCOPY);
        },
        8191);

    // pixman: the bottom-up frame as an image with a negative stride, scaled
    // with the nearest filter into the window surface.
    pixman_image_t* source = pixman_image_create_bits(
        PIXMAN_x8r8g8b8, 1280, 720, pixels + 719 * 1280, -1280 * 4);
    pixman_image_t* target =
        pixman_image_create_bits(PIXMAN_x8r8g8b8, 1280, 720, static_cast<std::uint32_t*>(windowBits), 1280 * 4);
    pixman_image_set_filter(source, PIXMAN_FILTER_NEAREST, nullptr, 0);
    const double pixmanRate = framesPerSecond(
        [&](long i) {
            const ZoomRect r = zoomRect(static_cast<std::int32_t>(i % 8191 + 1));
            pixman_transform_t t;
            pixman_transform_init_scale(&t, pixman_double_to_fixed(1280.0 / r.w), pixman_double_to_fixed(720.0 / r.h));
            pixman_transform_translate(&t, nullptr, pixman_int_to_fixed(-r.x), pixman_int_to_fixed(-r.y));
            pixman_image_set_transform(source, &t);
            pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, target, 0, 0, 0, 0, 0, 0, 1280, 720);
        },
        8191);
    pixman_image_unref(source);
    pixman_image_unref(target);

    std::printf("whole-frame memcpy (yardstick)        %9.0f frames/s\n", memcpyRate);
    std::printf("Stage 3 frame: two clipped BitBlts    %9.0f frames/s  %.2f x memcpy (target >= 0.70)\n", scrollRate,
                scrollRate / memcpyRate);
    std::printf("Stage 4 frame: StretchBlt, zoom cycle %9.0f frames/s  %.2f x memcpy (target >= 2500 frames/s)\n",
                zoomRate, zoomRate / memcpyRate);
    std::printf("  the same zoom through pixman        %9.0f frames/s  %.2f x our StretchBlt\n", pixmanRate,
                pixmanRate / zoomRate);
    return 0;
}
