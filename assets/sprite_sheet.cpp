#include "assets/sprite_sheet.h"

#include <cmath>
#include <functional>

#include "assets/title_layout.h"

namespace {
constexpr float kCentre = kSpriteSize / 2.0f;
constexpr Color kRim{0.04f, 0.02f, 0.10f};

// A shape: whether a point (in cell pixels) is inside, and its colour there.
struct Shape {
    std::function<bool(float, float)> inside;
    std::function<Color(float, float)> shade;
};

Color shadeBall(Color base, float x, float y) {
    constexpr float kRadius = 14.5f;
    float nx = (x - kCentre) / kRadius, ny = (y - kCentre) / kRadius;
    float nz = std::sqrt(std::fmax(0.0f, 1.0f - nx * nx - ny * ny));
    // Light from the upper left, slightly in front.
    float lx = -0.45f, ly = -0.55f, lz = 0.70f;
    float diffuse = std::fmax(0.0f, nx * lx + ny * ly + nz * lz);
    float hx = lx, hy = ly, hz = lz + 1.0f;
    float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    float specular = std::pow(std::fmax(0.0f, (nx * hx + ny * hy + nz * hz) / hl), 40.0f);
    float bounce = smoothstep(0.3f, 1.0f, ny) * (1.0f - nz) * 0.6f;  // light thrown back from below
    float k = 0.22f + 0.78f * diffuse;
    return {base.r * k + specular + 0.25f * bounce, base.g * k + specular + 0.35f * bounce,
            base.b * k + specular + 0.55f * bounce};
}

Shape ball(Color base) {
    return {[](float x, float y) { return std::hypot(x - kCentre, y - kCentre) <= 14.5f; },
            [base](float x, float y) { return shadeBall(base, x, y); }};
}

Shape star() {
    auto radiusAt = [](float angle) {
        constexpr float kOuter = 15.0f, kInner = 6.5f, kPoint = 2.0f * 3.14159265f / 5.0f;
        float a = std::fmod(angle + 3.14159265f / 2.0f + 100.0f * kPoint, kPoint) / kPoint;  // 0..1 across one point
        float t = std::fabs(a - 0.5f) * 2.0f;  // 1 at a tip, 0 between tips
        return 1.0f / ((1.0f - t) / kInner + t / kOuter);
    };
    return {[radiusAt](float x, float y) {
                float dx = x - kCentre, dy = y - kCentre + 1.0f;
                return std::hypot(dx, dy) <= radiusAt(std::atan2(dy, dx));
            },
            [](float x, float y) {
                float t = clamp01((y - 2.0f) / 28.0f);
                Color c = mix({1.0f, 0.95f, 0.55f}, {0.95f, 0.50f, 0.08f}, t);
                float shine = std::exp(-((x - 12.0f) * (x - 12.0f) + (y - 11.0f) * (y - 11.0f)) / 18.0f);
                return Color{c.r + shine, c.g + shine, c.b + 0.8f * shine};
            }};
}

void drawCell(RgbaImage& sheet, int cell, const Shape& shape) {
    constexpr int kSamples = 4;
    for (int y = 0; y < kSpriteSize; ++y)
        for (int x = 0; x < kSpriteSize; ++x) {
            int hits = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    if (shape.inside(x + (sx + 0.5f) / kSamples, y + (sy + 0.5f) / kSamples)) ++hits;
            float coverage = static_cast<float>(hits) / (kSamples * kSamples);
            if (coverage <= 0.5f) continue;
            Color c = shape.shade(x + 0.5f, y + 0.5f);
            c = mix(kRim, c, 0.45f + 0.55f * smoothstep(0.5f, 1.0f, coverage));
            sheet.set(cell * kSpriteSize + x, y, c, 1.0f);
        }
}
}  // namespace

RgbaImage makeSpriteSheet() {
    RgbaImage sheet(kSpriteSheetWidth, kSpriteSheetHeight);
    // Cell 0 is the one the sprite stages draw.
    drawCell(sheet, 0, ball({0.15f, 0.65f, 1.0f}));
    drawCell(sheet, 1, ball({1.0f, 0.30f, 0.70f}));
    drawCell(sheet, 2, star());
    drawCell(sheet, 3, ball({0.35f, 0.95f, 0.45f}));
    return sheet;
}
