// Small raster types shared by the asset generator: an 8-bit RGBA image,
// a floating-point coverage mask and a premultiplied floating-point layer.
#pragma once

#include <cstdint>
#include <vector>

struct Color {
    float r, g, b;
};

inline Color mix(Color a, Color b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

float clamp01(float v);
float smoothstep(float edge0, float edge1, float v);
std::uint8_t toByte(float v01);

// Rows top first, four bytes per pixel in the order red, green, blue, alpha.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;

    RgbaImage(int w, int h) : width(w), height(h), bytes(static_cast<std::size_t>(w) * h * 4, 0) {}
    std::uint8_t* at(int x, int y) { return &bytes[(static_cast<std::size_t>(y) * width + x) * 4]; }
    const std::uint8_t* at(int x, int y) const { return &bytes[(static_cast<std::size_t>(y) * width + x) * 4]; }
    void set(int x, int y, Color c, float alpha);
    Color colorAt(int x, int y) const;
    // The title pictures are copied into a bottom-up frame buffer row for row,
    // so they are stored upside down to appear upright.
    void flipRows();
};

struct Mask {
    int width = 0;
    int height = 0;
    std::vector<float> v;

    Mask() = default;
    Mask(int w, int h) : width(w), height(h), v(static_cast<std::size_t>(w) * h, 0.0f) {}
    float& at(int x, int y) { return v[static_cast<std::size_t>(y) * width + x]; }
    float at(int x, int y) const { return v[static_cast<std::size_t>(y) * width + x]; }
    float sample(int x, int y) const {
        return (x < 0 || y < 0 || x >= width || y >= height) ? 0.0f : at(x, y);
    }
};

// Grows the shape by `radius` pixels with a soft one-pixel edge.
Mask dilate(const Mask& m, float radius);
// Three box passes each way: close enough to a Gaussian of the same reach.
Mask blur(const Mask& m, int radius);
Mask shifted(const Mask& m, int dx, int dy);

// Premultiplied colour plus coverage, for stacking effects before they are
// flattened onto a background.
struct Layer {
    int width = 0;
    int height = 0;
    std::vector<float> rgba;

    Layer(int w, int h) : width(w), height(h), rgba(static_cast<std::size_t>(w) * h * 4, 0.0f) {}
    float* at(int x, int y) { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
    const float* at(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
    // Paints `color` with the mask's coverage times `opacity` over what is
    // there; the mask's (0, 0) lands on (ox, oy).
    template <typename ColorOf>
    void paint(const Mask& m, int ox, int oy, float opacity, ColorOf colorOf) {
        for (int y = 0; y < m.height; ++y) {
            int ly = oy + y;
            if (ly < 0 || ly >= height) continue;
            for (int x = 0; x < m.width; ++x) {
                int lx = ox + x;
                if (lx < 0 || lx >= width) continue;
                float a = m.at(x, y) * opacity;
                if (a <= 0.0f) continue;
                Color c = colorOf(x, y);
                float* p = at(lx, ly);
                p[0] = c.r * a + p[0] * (1.0f - a);
                p[1] = c.g * a + p[1] * (1.0f - a);
                p[2] = c.b * a + p[2] * (1.0f - a);
                p[3] = a + p[3] * (1.0f - a);
            }
        }
    }
};
