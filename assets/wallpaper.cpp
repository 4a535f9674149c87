#include "assets/wallpaper.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "assets/title_layout.h"

namespace {
constexpr float kHorizon = 520.0f;
constexpr float kCentreX = kScreenWidth / 2.0f;

// A tiny fixed generator, so every build draws the same picture.
struct Lcg {
    std::uint32_t state;
    float next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 16777216.0f;
    }
    float range(float lo, float hi) { return lo + (hi - lo) * next(); }
};

struct Bokeh {
    float x, y, radius, strength;
    Color color;
};

// 0 well away from the title logo, 1 in its middle.
float calmness(float x, float y) {
    float dx = (x - kCentreX) / 440.0f, dy = (y - 205.0f) / 185.0f;
    return 1.0f - smoothstep(0.55f, 1.25f, std::sqrt(dx * dx + dy * dy));
}

std::vector<Bokeh> placeBokeh() {
    const Color palette[] = {{1.0f, 0.45f, 0.80f}, {0.60f, 0.50f, 1.0f}, {0.40f, 0.80f, 1.0f}, {1.0f, 0.65f, 0.55f}};
    std::vector<Bokeh> all;
    Lcg rng{20240611u};
    while (all.size() < 34) {
        Bokeh b{rng.range(0.0f, kScreenWidth), rng.range(10.0f, kHorizon - 30.0f), rng.range(8.0f, 46.0f),
                rng.range(0.05f, 0.14f), palette[static_cast<int>(rng.next() * 4.0f) & 3]};
        bool behindPrompt = std::fabs(b.x - kCentreX) < 420.0f && b.y > 380.0f;
        if (calmness(b.x, b.y) > 0.05f || behindPrompt) continue;
        all.push_back(b);
    }
    return all;
}

Color sky(float x, float y) {
    float t = y / kHorizon;
    Color top{0.020f, 0.015f, 0.075f}, middle{0.085f, 0.035f, 0.200f}, low{0.380f, 0.090f, 0.370f};
    Color c = t < 0.55f ? mix(top, middle, smoothstep(0.0f, 0.55f, t)) : mix(middle, low, smoothstep(0.55f, 1.0f, t));

    // A setting sun's glow behind the horizon and soft rays fanning out of it.
    float gx = (x - kCentreX) / 520.0f, gy = (kHorizon - y) / 230.0f;
    float glow = std::exp(-(gx * gx + gy * gy));
    float angle = std::atan2(kHorizon - y, x - kCentreX);
    float fan = 0.5f + 0.5f * std::cos(angle * 15.0f + 0.8f * std::sin(angle * 3.0f));
    float rays = std::pow(fan, 5.0f) * (0.65f + 0.35f * std::cos(angle * 4.0f + 1.3f));
    float distance = std::hypot(x - kCentreX, kHorizon - y);
    rays *= std::exp(-distance / 520.0f) * smoothstep(0.0f, 60.0f, distance);

    float calm = calmness(x, y);
    float light = 1.0f - 0.85f * calm;
    c = mix(c, {0.0f, 0.0f, 0.02f}, 0.30f * calm);
    c.r += (0.55f * glow + 0.20f * rays * light) * 0.55f;
    c.g += (0.16f * glow + 0.12f * rays * light) * 0.55f;
    c.b += (0.42f * glow + 0.30f * rays * light) * 0.55f;
    return c;
}

// Brightness of the floor grid at one point: a floor seen from a fixed height,
// lines one unit apart, fading out where they crowd together toward the horizon.
float gridAt(float x, float y) {
    constexpr float kEyeHeight = 1.9f, kFocal = 700.0f;
    float d = y - kHorizon;
    if (d <= 0.0f) return 0.0f;
    float across = (x - kCentreX) * kEyeHeight / d;
    // Distances are measured across the line, so slanted far-off lines thin out too.
    float slope = (x - kCentreX) / d;
    float columnSpacing = d / kEyeHeight / std::sqrt(1.0f + slope * slope);
    float toVertical = std::fabs(across - std::round(across)) * columnSpacing;
    float depth = kFocal * kEyeHeight / d;
    float lineDepth = std::round(depth + 0.35f) - 0.35f;
    if (lineDepth < 0.5f) lineDepth += 1.0f;
    float toHorizontal = std::fabs(d - kFocal * kEyeHeight / lineDepth);
    float rowSpacing = kFocal * kEyeHeight / (depth * depth);

    float vertical = (std::exp(-toVertical * toVertical / 0.6f) + 0.20f * std::exp(-toVertical / 4.0f)) *
                     smoothstep(2.5f, 9.0f, columnSpacing);
    float horizontal = (std::exp(-toHorizontal * toHorizontal / 0.6f) + 0.20f * std::exp(-toHorizontal / 4.0f)) *
                       smoothstep(2.5f, 8.0f, rowSpacing);
    return std::fmin(1.0f, vertical + horizontal) * smoothstep(0.0f, 40.0f, d);
}

Color ground(float x, float y) {
    float d = y - kHorizon;  // pixels below the horizon
    Color c = mix({0.10f, 0.025f, 0.16f}, {0.035f, 0.015f, 0.09f}, smoothstep(0.0f, 200.0f, d));
    // The sun's glow mirrored on the floor.
    float gx = (x - kCentreX) / 480.0f, gy = d / 60.0f;
    float glow = std::exp(-(gx * gx + gy * gy));
    c.r += 0.30f * glow;
    c.g += 0.07f * glow;
    c.b += 0.25f * glow;

    float grid = 0.0f;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) grid += gridAt(x + (sx - 1.5f) / 4.0f, y + (sy - 1.5f) / 4.0f);
    grid /= 16.0f;
    // Quieter under the subtitle so its letters read well.
    float qx = (x - kCentreX) / 340.0f, qy = (y - 612.0f) / 62.0f;
    grid *= 1.0f - 0.55f * (1.0f - smoothstep(0.6f, 1.3f, std::sqrt(qx * qx + qy * qy)));
    Color line{0.95f, 0.28f, 0.85f};
    c.r += line.r * grid * 0.75f;
    c.g += line.g * grid * 0.75f;
    c.b += line.b * grid * 0.75f;
    return c;
}

Color horizonLine(float y) {
    float d = (y - kHorizon) / 1.6f;
    float core = std::exp(-d * d);
    float haze = std::exp(-std::fabs(y - kHorizon) / 9.0f);
    return {0.95f * core + 0.30f * haze, 0.55f * core + 0.08f * haze, 0.90f * core + 0.26f * haze};
}

void addBokeh(Color& c, float x, float y, const std::vector<Bokeh>& all) {
    for (const Bokeh& b : all) {
        float dist = std::hypot(x - b.x, y - b.y);
        if (dist > b.radius + 1.5f) continue;
        float inside = 1.0f - smoothstep(b.radius - 1.2f, b.radius + 1.2f, dist);
        float ring = 0.70f + 0.30f * smoothstep(b.radius * 0.55f, b.radius, dist);
        float s = inside * ring * b.strength;
        c.r += b.color.r * s;
        c.g += b.color.g * s;
        c.b += b.color.b * s;
    }
}

struct Star {
    float x, y, size, brightness;
};

// Faint stars high in the sky, away from the logo.
std::vector<Star> placeStars() {
    std::vector<Star> all;
    Lcg rng{77u};
    for (int i = 0; i < 90; ++i) {
        Star s{rng.range(0.0f, kScreenWidth), rng.range(0.0f, 300.0f), rng.range(0.6f, 1.3f), rng.range(0.25f, 0.75f)};
        s.brightness *= (1.0f - calmness(s.x, s.y)) * (1.0f - s.y / 320.0f);
        all.push_back(s);
    }
    return all;
}

void addStars(Color& c, float x, float y, const std::vector<Star>& all) {
    for (const Star& s : all) {
        if (std::fabs(x - s.x) > 3.0f || std::fabs(y - s.y) > 3.0f) continue;
        float d2 = (x - s.x) * (x - s.x) + (y - s.y) * (y - s.y);
        float v = s.brightness * std::exp(-d2 / (s.size * s.size));
        c.r += 0.9f * v;
        c.g += 0.9f * v;
        c.b += v;
    }
}

// Ordered dither of half a step keeps the long gradients free of bands.
float dither(int x, int y) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return ((bayer[y & 3][x & 3] + 0.5f) / 16.0f - 0.5f) / 255.0f;
}
}  // namespace

RgbaImage makeWallpaper() {
    RgbaImage image(kScreenWidth, kScreenHeight);
    std::vector<Bokeh> bokeh = placeBokeh();
    std::vector<Star> stars = placeStars();
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            float fx = x + 0.5f, fy = y + 0.5f;
            Color c = fy < kHorizon ? sky(fx, fy) : ground(fx, fy);
            if (fy < kHorizon) {
                addBokeh(c, fx, fy, bokeh);
                if (fy < 310.0f) addStars(c, fx, fy, stars);
            }
            Color h = horizonLine(fy);
            float e = dither(x, y);
            image.set(x, y, {c.r + h.r + e, c.g + h.g + e, c.b + h.b + e}, 1.0f);
        }
    return image;
}
