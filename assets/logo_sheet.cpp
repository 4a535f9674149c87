#include "assets/logo_sheet.h"

#include <cmath>
#include <functional>
#include <string>

#include "assets/title_layout.h"

namespace {
// Below this coverage the wallpaper is left to show through untouched.
constexpr float kDrawnCoverage = 0.03f;

struct Effects {
    float outlineRadius;
    Color outline;
    int glowRadius;
    float glowOpacity;
    Color glow;
    int shadowOffset;  // 0: no drop shadow
};

// Colour of the letter face at a fraction 0 (top of the ink) to 1 (bottom).
using Gradient = std::function<Color(float)>;

struct Lettering {
    std::string text;
    TextStyle style;
    Gradient face;
    Effects effects;
};

constexpr int kPad = 24;  // room around the ink for outline, shadow and glow

// Paints one line centred on column `centreX` with the top of its ink on row `inkTop`.
void paintLine(Layer& layer, TextRasterizer& text, const Lettering& l, int centreX, int inkTop) {
    Mask ink = text.render(l.text, l.style, kPad);
    int ox = centreX - ink.width / 2, oy = inkTop - kPad;
    float inkHeight = static_cast<float>(ink.height - 2 * kPad);
    Mask outline = dilate(ink, l.effects.outlineRadius);
    const Effects& e = l.effects;

    layer.paint(blur(outline, e.glowRadius), ox, oy, e.glowOpacity, [&](int, int) { return e.glow; });
    if (e.shadowOffset > 0)
        layer.paint(blur(shifted(outline, e.shadowOffset, e.shadowOffset + 1), 2), ox, oy, 0.55f,
                    [](int, int) { return Color{0.0f, 0.0f, 0.02f}; });
    layer.paint(outline, ox, oy, 1.0f, [&](int, int) { return e.outline; });
    layer.paint(ink, ox, oy, 1.0f, [&](int, int y) { return l.face(clamp01((y - kPad + 0.5f) / inkHeight)); });
}

int inkHeight(TextRasterizer& text, const Lettering& l) { return text.render(l.text, l.style, 0).height; }

// The 80s chrome look: a bright sky above a sharp horizon, a warm floor below.
Color chrome(float t) {
    if (t < 0.50f) return mix({1.0f, 1.0f, 1.0f}, {0.50f, 0.72f, 1.0f}, t / 0.50f);
    if (t < 0.56f) return mix({0.16f, 0.06f, 0.34f}, {0.30f, 0.10f, 0.45f}, (t - 0.50f) / 0.06f);
    return mix({0.45f, 0.14f, 0.55f}, {1.0f, 0.62f, 0.88f}, (t - 0.56f) / 0.44f);
}

void paintTitle(Layer& layer, TextRasterizer& text) {
    Lettering name{"Pelorin", {200, 0.20f, 2.0f}, chrome,
                   {4.5f, {0.035f, 0.015f, 0.10f}, 11, 0.95f, {0.95f, 0.35f, 0.90f}, 6}};
    name.style = text.fit(name.text, name.style, 560, 138);
    Lettering kind{"BENCHMARK",
                   {60, 0.20f, 9.0f},
                   [](float t) { return mix({0.85f, 0.98f, 1.0f}, {0.30f, 0.78f, 1.0f}, t); },
                   {3.0f, {0.035f, 0.015f, 0.10f}, 6, 0.75f, {0.25f, 0.75f, 1.0f}, 4}};
    kind.style = text.fit(kind.text, kind.style, 470, 40);

    int nameHeight = inkHeight(text, name), kindHeight = inkHeight(text, kind);
    constexpr int kGap = 22;
    int top = (layer.height - (nameHeight + kGap + kindHeight)) / 2;
    paintLine(layer, text, name, layer.width / 2, top);
    paintLine(layer, text, kind, layer.width / 2, top + nameHeight + kGap);
}

void paintSubtitle(Layer& layer, TextRasterizer& text) {
    Effects soft{2.5f, {0.035f, 0.015f, 0.10f}, 5, 0.55f, {0.55f, 0.40f, 1.0f}, 0};
    Lettering line{"Graphics & CPU Benchmark", {40, 0.0f, 0.5f},
                   [](float t) { return mix({1.0f, 1.0f, 1.0f}, {0.78f, 0.74f, 1.0f}, t); }, soft};
    line.style = text.fit(line.text, line.style, 470, 30);
    Lettering version{"Ver1.30", {24, 0.0f, 1.0f},
                      [](float t) { return mix({0.85f, 0.85f, 0.95f}, {0.65f, 0.62f, 0.85f}, t); }, soft};
    version.style = text.fit(version.text, version.style, 200, 17);

    int lineHeight = inkHeight(text, line), versionHeight = inkHeight(text, version);
    constexpr int kGap = 11;
    int top = (layer.height - (lineHeight + kGap + versionHeight)) / 2;
    paintLine(layer, text, line, layer.width / 2, top);
    paintLine(layer, text, version, layer.width / 2, top + lineHeight + kGap);
}

void paintPrompt(Layer& layer, TextRasterizer& text) {
    Lettering prompt{"Press Enter to start", {48, 0.0f, 2.0f},
                     [](float t) { return mix({1.0f, 0.98f, 0.82f}, {1.0f, 0.74f, 0.30f}, t); },
                     {3.0f, {0.05f, 0.02f, 0.08f}, 6, 0.65f, {1.0f, 0.50f, 0.20f}, 0}};
    prompt.style = text.fit(prompt.text, prompt.style, 600, 34);
    int height = inkHeight(text, prompt);
    paintLine(layer, text, prompt, layer.width / 2, (layer.height - height) / 2);
}

// Flattens a piece onto the wallpaper and stores it at its place in the sheet.
void bake(RgbaImage& sheet, const RgbaImage& wallpaper, const Layer& layer, int left, int top) {
    for (int y = 0; y < layer.height; ++y)
        for (int x = 0; x < layer.width; ++x) {
            const float* p = layer.at(x, y);
            float a = p[3];
            if (a < kDrawnCoverage) continue;
            Color under = wallpaper.colorAt(left + x, top + y);
            Color c{p[0] + under.r * (1.0f - a), p[1] + under.g * (1.0f - a), p[2] + under.b * (1.0f - a)};
            sheet.set(left + x, top + y, c, a);  // a >= kDrawnCoverage, so never stored as 0
        }
}
}  // namespace

RgbaImage makeLogoSheet(const RgbaImage& uprightWallpaper, TextRasterizer& text) {
    RgbaImage sheet(kScreenWidth, kScreenHeight);
    struct Job {
        SheetPiece piece;
        void (*paint)(Layer&, TextRasterizer&);
    };
    const Job jobs[] = {{kPieceLogo, paintTitle}, {kPieceSubtitle, paintSubtitle}, {kPiecePrompt, paintPrompt}};
    for (const Job& job : jobs) {
        Layer layer(job.piece.w, job.piece.h);
        job.paint(layer, text);
        bake(sheet, uprightWallpaper, layer, job.piece.sx, job.piece.windowTop());
    }
    return sheet;
}
