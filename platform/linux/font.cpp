// Fonts: the program asks for its Japanese gothic face by its Windows name;
// fontconfig finds a face here that really has the kana, and FreeType
// rasterises each character once into the cell the caller asked for.
#include "platform/linux/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <utility>

#include "platform/win32.h"

struct SharedFace {
    FT_Face face = nullptr;
    long ascender = 0;  // font units above the baseline that a cell holds
    long descender = 0;  // font units below it, positive
};

namespace {

// Anti-aliased glyphs blend into what lies below; monochrome ones would be
// crisper at 8x16 but look ragged in the 32-pixel font.
constexpr bool kAntialiased = true;

constexpr char32_t kHiraganaA = 0x3042;

struct FaceLocation {
    std::string file;
    int index = 0;
};

FT_Library freetype() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
        return lib;
    }();
    return library;
}

bool hasChar(FcPattern* font, FcChar32 c) {
    FcCharSet* chars = nullptr;
    return FcPatternGetCharSet(font, FC_CHARSET, 0, &chars) == FcResultMatch && FcCharSetHasChar(chars, c);
}

// Asking by name alone falls back to a Latin sans face without kana, so the
// request also names Japanese and a kana, and every candidate is checked.
bool findJapaneseFace(const std::string& familyUtf8, FaceLocation& found) {
    if (!FcInit()) return false;
    FcPattern* pattern = FcPatternCreate();
    if (!familyUtf8.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyUtf8.c_str()));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("IPAGothic"));
    FcLangSet* languages = FcLangSetCreate();
    FcLangSetAdd(languages, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddLangSet(pattern, FC_LANG, languages);
    FcLangSetDestroy(languages);
    FcCharSet* chars = FcCharSetCreate();
    FcCharSetAddChar(chars, kHiraganaA);
    FcPatternAddCharSet(pattern, FC_CHARSET, chars);
    FcCharSetDestroy(chars);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    FcResult result = FcResultNoMatch;
    FcFontSet* candidates = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
    FcPatternDestroy(pattern);
    bool ok = false;
    for (int i = 0; candidates && i < candidates->nfont && !ok; ++i) {
        FcPattern* font = candidates->fonts[i];
        FcChar8* file = nullptr;
        if (!hasChar(font, kHiraganaA) || !hasChar(font, 'A')) continue;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) continue;
        int index = 0;
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        found.file = reinterpret_cast<const char*>(file);
        found.index = index;
        ok = true;
    }
    if (candidates) FcFontSetDestroy(candidates);
    return ok;
}

SharedFace* openFace(const FaceLocation& where) {
    static std::map<std::pair<std::string, int>, SharedFace> faces;
    char* real = realpath(where.file.c_str(), nullptr);
    std::pair<std::string, int> key{real ? real : where.file, where.index};
    std::free(real);
    auto it = faces.find(key);
    if (it != faces.end()) return &it->second;

    FT_Library lib = freetype();
    FT_Face face = nullptr;
    if (!lib || FT_New_Face(lib, key.first.c_str(), key.second, &face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(face) || FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    SharedFace& shared = faces[key];
    shared.face = face;
    shared.ascender = face->ascender;
    shared.descender = -face->descender;
    if (shared.ascender <= 0 || shared.descender < 0 || shared.ascender + shared.descender <= 0) {
        shared.ascender = face->units_per_EM * 7 / 8;
        shared.descender = face->units_per_EM - shared.ascender;
    }
    return &shared;
}

// The face for a requested name, looked up once per name.
SharedFace* faceFor(LPCSTR faceName) {
    static std::map<std::string, SharedFace*> byName;
    static bool warned = false;
    const std::string family = faceName ? cp932::toUtf8(faceName, std::strlen(faceName)) : std::string();
    auto it = byName.find(family);
    if (it != byName.end()) return it->second;
    FaceLocation where;
    SharedFace* face = findJapaneseFace(family, where) ? openFace(where) : nullptr;
    if (!face && !warned) {
        std::fprintf(stderr, "no Japanese font found: text will not be drawn\n");
        warned = true;
    }
    byName.emplace(family, face);
    return face;
}

long roundedDiv(long long num, long long den) { return static_cast<long>((num + den / 2) / den); }

}  // namespace

bool japaneseFontAvailable() {
    FaceLocation where;
    return findJapaneseFace("", where) && openFace(where) != nullptr;
}

const FontAdvice kJapaneseFontAdvice = {
    "a face with kana, such as IPAGothic",
    "Install the Debian package fonts-ipafont-gothic: sudo apt-get install fonts-ipafont-gothic",
};

FontFace::FontFace(SharedFace* f, int height, int width)
    : cellHeight(height),
      cellWidth(width),
      file(f),
      ascent(static_cast<int>(roundedDiv(static_cast<long long>(height) * f->ascender, f->ascender + f->descender))),
      table(cp932::kCodeSlots, nullptr) {}

const Glyph& FontFace::rasterise(unsigned code) {
    Glyph& g = glyphs.emplace_back();
    table[static_cast<std::size_t>(cp932::slotOf(code))] = &g;
    g.advance = code < 0x100 ? cellWidth : 2 * cellWidth;

    const char32_t c = cp932::toUnicode(code);
    FT_Face face = file->face;
    const FT_UInt index = c ? FT_Get_Char_Index(face, c) : 0;
    if (index == 0) return g;

    // The cell's height spans the face's ascender and descender; its width
    // is half an em, the width of a half-width character.
    const long emY = roundedDiv(64LL * cellHeight * face->units_per_EM, file->ascender + file->descender);
    const long emX = 64L * 2 * cellWidth;
    if (FT_Set_Char_Size(face, emX, emY, 72, 72) != 0) return g;
    const FT_Int32 loadFlags = kAntialiased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
    if (FT_Load_Glyph(face, index, loadFlags | FT_LOAD_NO_BITMAP) != 0) return g;
    FT_GlyphSlot slot = face->glyph;
    // The hinter can squash a thin stroke such as '_' at 16 pixels to
    // nothing; such a glyph is drawn from its unhinted outline instead.
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE && slot->outline.n_points > 0) {
        FT_BBox box;
        FT_Outline_Get_CBox(&slot->outline, &box);
        if ((box.yMax & ~63) <= ((box.yMin + 63) & ~63) || (box.xMax & ~63) <= ((box.xMin + 63) & ~63))
            if (FT_Load_Glyph(face, index, loadFlags | FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0) return g;
    }
    if (FT_Render_Glyph(slot, kAntialiased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return g;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_GRAY && bm.pixel_mode != FT_PIXEL_MODE_MONO) return g;

    // A face whose advance differs from the cell is centred in it.
    const int shift = static_cast<int>((64L * g.advance - slot->advance.x) / 128);
    const int originX = shift + slot->bitmap_left;
    const int originY = ascent - slot->bitmap_top;
    auto coverageAt = [&](int col, int row) -> std::uint8_t {
        const unsigned char* line = bm.buffer + static_cast<std::ptrdiff_t>(row) * bm.pitch;
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) return (line[col >> 3] >> (7 - (col & 7)) & 1) ? 255 : 0;
        return line[col];
    };

    // Keep only the inked part that lies inside the cell.
    int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
    for (int row = 0; row < static_cast<int>(bm.rows); ++row) {
        const int y = originY + row;
        if (y < 0 || y >= cellHeight) continue;
        for (int col = 0; col < static_cast<int>(bm.width); ++col) {
            const int x = originX + col;
            if (x < 0 || x >= g.advance || coverageAt(col, row) == 0) continue;
            x0 = std::min(x0, x);
            x1 = std::max(x1, x + 1);
            y0 = std::min(y0, y);
            y1 = std::max(y1, y + 1);
        }
    }
    if (x0 >= x1) return g;
    g.left = x0;
    g.top = y0;
    g.width = x1 - x0;
    g.height = y1 - y0;
    g.stride = (g.width + 3) & ~3;
    g.coverage.assign(static_cast<std::size_t>(g.stride) * g.height, 0);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            g.coverage[static_cast<std::size_t>((y - y0) * g.stride + (x - x0))] = coverageAt(x - originX, y - originY);
    for (int row = 0; row < g.height; ++row)
        for (int col = 0; col < g.stride; col += 4) {
            const std::uint8_t* group = &g.coverage[static_cast<std::size_t>(row * g.stride + col)];
            if (group[0] | group[1] | group[2] | group[3])
                g.inkGroups.push_back({static_cast<std::uint16_t>(row), static_cast<std::uint16_t>(col)});
        }
    return g;
}

FontObject::~FontObject() { delete face; }

HFONT CreateFontA(int height, int width, int /*escapement*/, int /*orientation*/, int /*weight*/, DWORD /*italic*/,
                  DWORD /*underline*/, DWORD /*strikeOut*/, DWORD /*charSet*/, DWORD /*outPrecision*/,
                  DWORD /*clipPrecision*/, DWORD /*quality*/, DWORD /*pitchAndFamily*/, LPCSTR faceName) {
    // A negative height asks for the character height without internal
    // leading; the faces used here have none, so both mean the cell height.
    if (height == INT_MIN || width == INT_MIN) return nullptr;
    height = height < 0 ? -height : height;
    width = width < 0 ? -width : width;
    if (height == 0) height = 16;
    if (width == 0) width = (height + 1) / 2;
    if (height > 4096 || width > 4096) return nullptr;  // keeps glyph rows and columns within 16 bits
    SharedFace* shared = faceFor(faceName);
    if (!shared) return nullptr;
    auto* font = new FontObject;
    font->cellHeight = height;
    font->cellWidth = width;
    font->face = new FontFace(shared, height, width);
    return font;
}

// fontconfig leaves a few blocks of its parsed configuration unreachable
// after the first query; they are its own and are never freed by it.
#if defined(__SANITIZE_ADDRESS__)
#define PELORIN_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PELORIN_LEAK_CHECKED 1
#endif
#endif
#if defined(PELORIN_LEAK_CHECKED)
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
