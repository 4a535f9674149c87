#include "assets/icon.h"

#include <cmath>


namespace {
constexpr float kPi = 3.14159265f;
constexpr float kCentre = kIconSize / 2.0f;
constexpr float kSweepStart = 1.25f * kPi;  // the dial runs clockwise from lower left...
constexpr float kSweep = 1.5f * kPi;        // ...to lower right
constexpr float kReading = 0.78f;           // where the needle points, 0..1 of the sweep

struct Sample {
    Color color;
    float alpha;
};

// Paints `top` over `under` with the given coverage.
void over(Sample& under, Color top, float coverage) {
    under.color = mix(under.color, top, coverage);
    under.alpha = under.alpha + (1.0f - under.alpha) * coverage;
}

// Clockwise dial position 0..1 of a direction, or a value outside 0..1 in the gap at the bottom.
float dialPosition(float dx, float dy) {
    float angle = std::atan2(-dy, dx);                 // counter-clockwise from the right, y up
    float fromStart = std::fmod(kSweepStart - angle + 4.0f * kPi, 2.0f * kPi);
    return fromStart / kSweep;
}

Color dialColor(float t) {
    if (t < 0.5f) return mix({0.20f, 0.85f, 1.0f}, {0.85f, 0.35f, 1.0f}, t / 0.5f);
    return mix({0.85f, 0.35f, 1.0f}, {1.0f, 0.45f, 0.35f}, (t - 0.5f) / 0.5f);
}

Sample shade(float x, float y) {
    Sample s{{0.0f, 0.0f, 0.0f}, 0.0f};
    float dx = x - kCentre, dy = y - kCentre;
    float r = std::hypot(dx, dy);
    if (r > 122.0f) return s;

    // Chrome bezel, bright on top and dark below.
    float v = dy / 122.0f;
    over(s, v < 0.0f ? mix({0.98f, 0.98f, 1.0f}, {0.55f, 0.60f, 0.80f}, v + 1.0f)
                     : mix({0.30f, 0.22f, 0.45f}, {0.75f, 0.55f, 0.85f}, v),
         1.0f);
    if (r < 106.0f) over(s, mix({0.16f, 0.10f, 0.38f}, {0.03f, 0.02f, 0.10f}, r / 106.0f), 1.0f);

    float t = dialPosition(dx, dy);
    bool onDial = t >= 0.0f && t <= 1.0f;
    if (onDial && r > 76.0f && r < 96.0f) over(s, t <= kReading ? dialColor(t) : Color{0.16f, 0.12f, 0.30f}, 1.0f);
    // Ticks every tenth of the sweep.
    if (onDial && r > 98.0f && r < 104.0f && std::fabs(t * 10.0f - std::round(t * 10.0f)) * kSweep / 10.0f * r < 1.6f)
        over(s, {0.95f, 0.95f, 1.0f}, 1.0f);

    // Needle: a tapering blade from the hub toward the reading.
    float angle = kSweepStart - kReading * kSweep;
    float ux = std::cos(angle), uy = -std::sin(angle);
    float along = dx * ux + dy * uy, aside = std::fabs(-dx * uy + dy * ux);
    if (along > -12.0f && along < 92.0f && aside < 7.0f * (1.0f - along / 100.0f))
        over(s, mix({1.0f, 0.95f, 0.90f}, {1.0f, 0.55f, 0.30f}, clamp01(along / 92.0f)), 1.0f);

    if (r < 16.0f) over(s, mix({0.95f, 0.95f, 1.0f}, {0.45f, 0.45f, 0.60f}, clamp01((dy + 16.0f) / 32.0f)), 1.0f);
    return s;
}
}  // namespace

RgbaImage makeIcon(int size) {
    RgbaImage icon(size, size);
    // The art is defined on a 256-pixel square; a smaller icon takes more
    // samples per pixel, so every size averages the same detail.
    const float scale = static_cast<float>(kIconSize) / static_cast<float>(size);
    const int samples = 4 * ((kIconSize + size - 1) / size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // Average premultiplied samples, then store straight colour with its coverage.
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < samples; ++sy)
                for (int sx = 0; sx < samples; ++sx) {
                    Sample s = shade((x + (sx + 0.5f) / samples) * scale, (y + (sy + 0.5f) / samples) * scale);
                    r += s.color.r * s.alpha;
                    g += s.color.g * s.alpha;
                    b += s.color.b * s.alpha;
                    a += s.alpha;
                }
            if (a <= 0.0f) continue;
            icon.set(x, y, {r / a, g / a, b / a}, a / static_cast<float>(samples * samples));
        }
    return icon;
}
