#include "assets/text_mask.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {
std::string findFontFile() {
    std::string file;
    if (!FcInit()) return file;
    // Bold DejaVu first; any scalable face that fontconfig offers otherwise.
    const char* patterns[] = {"DejaVu Sans:bold", "sans-serif:bold", "sans-serif"};
    for (const char* text : patterns) {
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(text));
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* match = FcFontMatch(nullptr, pattern, &result);
        FcChar8* path = nullptr;
        if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) file = reinterpret_cast<char*>(path);
        if (match) FcPatternDestroy(match);
        FcPatternDestroy(pattern);
        if (!file.empty()) break;
    }
    FcFini();  // only the path is kept; the rest of fontconfig is not needed again
    return file;
}

struct PlacedGlyph {
    int left, top;  // of the bitmap, relative to the line origin, y growing downwards
    int width, rows;
    std::vector<unsigned char> coverage;
};
}  // namespace

TextRasterizer::TextRasterizer() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return;
    library_ = library;
    fontFile_ = findFontFile();
    FT_Face face = nullptr;
    if (!fontFile_.empty() && FT_New_Face(library, fontFile_.c_str(), 0, &face) == 0) face_ = face;
}

TextRasterizer::~TextRasterizer() {
    if (face_) FT_Done_Face(static_cast<FT_Face>(face_));
    if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

Mask TextRasterizer::render(const std::string& ascii, const TextStyle& style, int pad) {
    auto face = static_cast<FT_Face>(face_);
    if (!face) return Mask(2 * pad + 1, 2 * pad + 1);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(style.pixelSize));
    FT_Matrix shear = {0x10000, static_cast<FT_Fixed>(std::lround(style.slant * 65536.0f)), 0, 0x10000};

    std::vector<PlacedGlyph> glyphs;
    FT_Vector pen = {0, 0};  // 26.6 units
    FT_UInt previous = 0;
    for (unsigned char ch : ascii) {
        FT_UInt index = FT_Get_Char_Index(face, ch);
        if (previous && index && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            if (FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kern) == 0) pen.x += kern.x;
        }
        previous = index;
        FT_Set_Transform(face, &shear, &pen);
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_NO_HINTING) != 0) continue;
        FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bm = slot->bitmap;
        PlacedGlyph g{slot->bitmap_left, -slot->bitmap_top, static_cast<int>(bm.width), static_cast<int>(bm.rows), {}};
        g.coverage.resize(static_cast<std::size_t>(g.width) * g.rows);
        for (int y = 0; y < g.rows; ++y)
            for (int x = 0; x < g.width; ++x)
                g.coverage[static_cast<std::size_t>(y) * g.width + x] = bm.buffer[y * bm.pitch + x];
        if (g.width > 0 && g.rows > 0) glyphs.push_back(std::move(g));
        pen.x += slot->advance.x + std::lround(style.tracking * 64.0f);
    }
    FT_Set_Transform(face, nullptr, nullptr);
    if (glyphs.empty()) return Mask(2 * pad + 1, 2 * pad + 1);

    int minX = INT_MAX, minY = INT_MAX, maxX = INT_MIN, maxY = INT_MIN;
    for (const PlacedGlyph& g : glyphs) {
        minX = std::min(minX, g.left);
        minY = std::min(minY, g.top);
        maxX = std::max(maxX, g.left + g.width);
        maxY = std::max(maxY, g.top + g.rows);
    }
    Mask mask(maxX - minX + 2 * pad, maxY - minY + 2 * pad);
    for (const PlacedGlyph& g : glyphs)
        for (int y = 0; y < g.rows; ++y)
            for (int x = 0; x < g.width; ++x) {
                float c = g.coverage[static_cast<std::size_t>(y) * g.width + x] / 255.0f;
                float& m = mask.at(g.left - minX + pad + x, g.top - minY + pad + y);
                m = std::min(1.0f, m + c);  // neighbouring glyphs' edges add up
            }
    return mask;
}

TextStyle TextRasterizer::fit(const std::string& ascii, TextStyle style, int maxWidth, int maxHeight) {
    while (style.pixelSize > 6) {
        Mask m = render(ascii, style, 0);
        if (m.width <= maxWidth && m.height <= maxHeight) break;
        float scale = std::min(static_cast<float>(maxWidth) / m.width, static_cast<float>(maxHeight) / m.height);
        int next = static_cast<int>(style.pixelSize * scale);
        style.pixelSize = next < style.pixelSize ? next : style.pixelSize - 1;
    }
    return style;
}
