#include "assets/raster.h"

#include <algorithm>
#include <cmath>

float clamp01(float v) { return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v); }

float smoothstep(float edge0, float edge1, float v) {
    float t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

std::uint8_t toByte(float v01) { return static_cast<std::uint8_t>(std::lround(clamp01(v01) * 255.0f)); }

void RgbaImage::set(int x, int y, Color c, float alpha) {
    std::uint8_t* p = at(x, y);
    p[0] = toByte(c.r);
    p[1] = toByte(c.g);
    p[2] = toByte(c.b);
    p[3] = toByte(alpha);
}

Color RgbaImage::colorAt(int x, int y) const {
    const std::uint8_t* p = at(x, y);
    return {p[0] / 255.0f, p[1] / 255.0f, p[2] / 255.0f};
}

void RgbaImage::flipRows() {
    std::size_t stride = static_cast<std::size_t>(width) * 4;
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(bytes.begin() + top * stride, bytes.begin() + (top + 1) * stride,
                         bytes.begin() + bottom * stride);
}

Mask dilate(const Mask& m, float radius) {
    Mask out(m.width, m.height);
    int reach = static_cast<int>(std::ceil(radius)) + 1;
    // Disc offsets with their weight: full inside the radius, fading over the last pixel.
    struct Tap {
        int dx, dy;
        float w;
    };
    std::vector<Tap> taps;
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
            float w = clamp01(radius + 0.5f - d);
            if (w > 0.0f) taps.push_back({dx, dy, w});
        }
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
            float best = 0.0f;
            for (const Tap& t : taps) {
                float s = m.sample(x + t.dx, y + t.dy) * t.w;
                if (s > best) best = s;
            }
            out.at(x, y) = best;
        }
    return out;
}

namespace {
void boxPass(const std::vector<float>& in, std::vector<float>& out, int count, int step, int lines, int lineStep,
             int radius) {
    float scale = 1.0f / static_cast<float>(2 * radius + 1);
    for (int line = 0; line < lines; ++line) {
        std::size_t base = static_cast<std::size_t>(line) * lineStep;
        float sum = 0.0f;
        for (int i = -radius; i <= radius; ++i)
            if (i >= 0 && i < count) sum += in[base + static_cast<std::size_t>(i) * step];
        for (int i = 0; i < count; ++i) {
            out[base + static_cast<std::size_t>(i) * step] = sum * scale;
            int leaving = i - radius, entering = i + radius + 1;
            if (leaving >= 0) sum -= in[base + static_cast<std::size_t>(leaving) * step];
            if (entering < count) sum += in[base + static_cast<std::size_t>(entering) * step];
        }
    }
}
}  // namespace

Mask blur(const Mask& m, int radius) {
    Mask out = m;
    std::vector<float> tmp(m.v.size());
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(out.v, tmp, m.width, 1, m.height, m.width, radius);
        boxPass(tmp, out.v, m.height, m.width, m.width, 1, radius);
    }
    return out;
}

Mask shifted(const Mask& m, int dx, int dy) {
    Mask out(m.width, m.height);
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) out.at(x, y) = m.sample(x - dx, y - dy);
    return out;
}
