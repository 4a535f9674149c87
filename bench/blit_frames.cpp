// The copies Stages 3 and 4 measure, without the present: two clipped
// BitBlts of the bottom-up frame buffer to a window-sized surface, beside a
// whole-frame memcpy measured in the same run, and the zoomed StretchBlt
// over the zoom steps of Stage 4's measuring window.  The same zooms also go
// through pixman's nearest filter, to show which of the two the layer should
// use.
#include <pixman.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/win32.h"
#include "stages/blit_stages.h"
#include "stages/frame_rate_stage.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kFrameBytes = 1280 * 720 * 4;

// A cap on Stage 4's frames: far more than any machine draws in its window
// (it would take 100,000 frames/s), and well below the step at which
// zoomRect's 32-bit arithmetic would overflow (1,677,721).
constexpr long kMostZoomFrames = 1000000;

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

struct ZoomRun {
    long frames;
    std::int32_t lastStep;
    double ourSeconds;     // spent in our StretchBlt
    double pixmanSeconds;  // spent in pixman
};

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Stage 4's zoom grows with every frame, and larger zooms read fewer source
// rows and cost less, so the zooms the stage draws depend on how many frames
// fit into its measuring window on this machine.  The bench therefore draws
// for as long as the stage's window lasts (measuringMs, the window program's
// 10 s), not a fixed number of steps: a faster machine reaches the larger
// zooms here that it reaches in the stage.
//
// Draws Stage 4's zoom steps in the stage's own order, from its first step,
// until our StretchBlt has drawn for as long as the stage's measuring window
// (which checks its clock before every frame).  Each step is drawn by ours
// and then by pixman, each timed on its own: taking turns frame by frame,
// both meet the same load of a shared machine and draw the same zooms.
template <typename Ours, typename Pixman>
ZoomRun drawStageZoomSteps(Ours ours, Pixman pixman) {
    for (int i = 0; i < 10; ++i) {
        ours(zoomRect(kFirstZoomStep));
        pixman(zoomRect(kFirstZoomStep));
    }
    const double windowSeconds = measuringMs / 1000.0;
    ZoomRun run{0, kFirstZoomStep, 0.0, 0.0};
    std::int32_t step = kFirstZoomStep;
    while (run.ourSeconds < windowSeconds && run.frames < kMostZoomFrames) {
        const ZoomRect r = zoomRect(step);
        const auto start = Clock::now();
        ours(r);
        const auto between = Clock::now();
        pixman(r);
        const auto end = Clock::now();
        run.ourSeconds += secondsBetween(start, between);
        run.pixmanSeconds += secondsBetween(between, end);
        run.lastStep = step;
        step = nextZoomStep(step);
        ++run.frames;
    }
    return run;
}

double zoomFactor(std::int32_t step) { return 1.0 + step / 8192.0; }

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

    // pixman: the bottom-up frame as an image with a negative stride, scaled
    // with the nearest filter into the window surface.
    pixman_image_t* source = pixman_image_create_bits(
        PIXMAN_x8r8g8b8, 1280, 720, pixels + 719 * 1280, -1280 * 4);
    pixman_image_t* target =
        pixman_image_create_bits(PIXMAN_x8r8g8b8, 1280, 720, static_cast<std::uint32_t*>(windowBits), 1280 * 4);
    pixman_image_set_filter(source, PIXMAN_FILTER_NEAREST, nullptr, 0);
    const ZoomRun zoom = drawStageZoomSteps(
        [&](const ZoomRect& r) { StretchBlt(window, r.x, r.y, r.w, r.h, frame, 0, 0, 1280, 720, SRCCOPY); },
        [&](const ZoomRect& r) {
            pixman_transform_t t;
            pixman_transform_init_scale(&t, pixman_double_to_fixed(1280.0 / r.w), pixman_double_to_fixed(720.0 / r.h));
            pixman_transform_translate(&t, nullptr, pixman_int_to_fixed(-r.x), pixman_int_to_fixed(-r.y));
            pixman_image_set_transform(source, &t);
            pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, target, 0, 0, 0, 0, 0, 0, 1280, 720);
        });
    const double zoomRate = zoom.frames / zoom.ourSeconds;
    const double pixmanRate = zoom.frames / zoom.pixmanSeconds;
    pixman_image_unref(source);
    pixman_image_unref(target);

    std::printf("whole-frame memcpy (yardstick)        %9.0f frames/s\n", memcpyRate);
    std::printf("Stage 3 frame: two clipped BitBlts    %9.0f frames/s  %.2f x memcpy (target >= 0.70)\n", scrollRate,
                scrollRate / memcpyRate);
    std::printf("Stage 4 frames: StretchBlt for %2d s   %9.0f frames/s  %.2f x memcpy (target >= 2500 frames/s)\n",
                measuringMs / 1000, zoomRate, zoomRate / memcpyRate);
    std::printf("  %ld frames, steps %d to %d: zoom %.2fx to %.2fx\n", zoom.frames, kFirstZoomStep, zoom.lastStep,
                zoomFactor(kFirstZoomStep), zoomFactor(zoom.lastStep));
    std::printf("  the same steps through pixman       %9.0f frames/s  %.2f x our StretchBlt\n", pixmanRate,
                pixmanRate / zoomRate);
    if (zoom.frames == kMostZoomFrames)
        std::printf("  (stopped at %ld frames before the %d s were over: not the stage's window)\n", kMostZoomFrames,
                    measuringMs / 1000);
    return 0;
}
