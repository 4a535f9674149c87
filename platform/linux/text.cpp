// TextOutA: one glyph after another from the font's cache, blended in the
// text colour over whatever the target holds, clipped to the target.
#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/linux/font.h"
#include "platform/linux/window_internal.h"

namespace {

// COLORREF holds red in its low byte; a pixel word holds blue there.
std::uint32_t pixelOf(COLORREF c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

// Every byte becomes (colour * w + dst * (256 - w)) / 256 with w = 0..256, so
// coverage 0 leaves the pixel alone and 255 writes the colour exactly; the
// text colour's fourth byte is 0.  Two channels share each 32-bit product.
inline std::uint32_t blend(std::uint32_t dst, std::uint32_t colour, std::uint32_t coverage) {
    const std::uint32_t w = coverage + (coverage >> 7);
    const std::uint32_t rb = ((colour & 0x00FF00FF) * w + (dst & 0x00FF00FF) * (256 - w)) >> 8 & 0x00FF00FF;
    const std::uint32_t ag = ((colour >> 8 & 0x00FF00FF) * w + (dst >> 8 & 0x00FF00FF) * (256 - w)) & 0xFF00FF00;
    return rb | ag;
}

#if defined(__SSE2__)
// The same blend, four pixels at once in 16-bit lanes.
struct Blend4 {
    explicit Blend4(std::uint32_t colour) {
        const __m128i c = _mm_set1_epi32(static_cast<int>(colour));
        colour16 = _mm_unpacklo_epi8(c, _mm_setzero_si128());
    }
    void operator()(std::uint32_t* dst, const std::uint8_t* coverage) const {
        const __m128i zero = _mm_setzero_si128();
        std::uint32_t four;
        std::memcpy(&four, coverage, 4);
        __m128i a = _mm_cvtsi32_si128(static_cast<int>(four));
        a = _mm_unpacklo_epi8(a, a);
        a = _mm_unpacklo_epi16(a, a);  // each pixel's coverage in all four of its bytes
        __m128i wLo = _mm_unpacklo_epi8(a, zero);
        __m128i wHi = _mm_unpackhi_epi8(a, zero);
        wLo = _mm_add_epi16(wLo, _mm_srli_epi16(wLo, 7));
        wHi = _mm_add_epi16(wHi, _mm_srli_epi16(wHi, 7));
        const __m128i full = _mm_set1_epi16(256);
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
        const __m128i dLo = _mm_unpacklo_epi8(d, zero);
        const __m128i dHi = _mm_unpackhi_epi8(d, zero);
        const __m128i oLo = _mm_srli_epi16(
            _mm_add_epi16(_mm_mullo_epi16(colour16, wLo), _mm_mullo_epi16(dLo, _mm_sub_epi16(full, wLo))), 8);
        const __m128i oHi = _mm_srli_epi16(
            _mm_add_epi16(_mm_mullo_epi16(colour16, wHi), _mm_mullo_epi16(dHi, _mm_sub_epi16(full, wHi))), 8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(oLo, oHi));
    }
    __m128i colour16;
};
#endif

void drawGlyph(const PixelSurface& s, long long gx, long long gy, const Glyph& g, std::uint32_t colour) {
    const long long left = std::max<long long>(gx, 0);
    const long long top = std::max<long long>(gy, 0);
    const long long right = std::min<long long>(gx + g.width, s.width);
    const long long bottom = std::min<long long>(gy + g.height, s.height);
    if (left >= right || top >= bottom) return;
#if defined(__SSE2__)
    const Blend4 blend4(colour);
#endif

    if (left == gx && top == gy && gx + g.stride <= s.width && bottom == gy + g.height) {
        // Wholly inside, padding included: only the groups with ink.
        std::uint8_t* origin = s.rowZero + s.rowStep * gy + gx * 4;
        for (const Glyph::InkGroup ink : g.inkGroups) {
            auto* dst = reinterpret_cast<std::uint32_t*>(origin + s.rowStep * ink.row) + ink.col;
            const std::uint8_t* cov = g.coverage.data() + ink.row * g.stride + ink.col;
#if defined(__SSE2__)
            blend4(dst, cov);
#else
            for (int i = 0; i < 4; ++i) dst[i] = blend(dst[i], colour, cov[i]);
#endif
        }
        return;
    }

    const int cols = static_cast<int>(right - left);
    const int skip = static_cast<int>(left - gx);
    // Groups of four may run past the glyph's width into its zero padding,
    // which rewrites those pixels unchanged, but never past the target's edge.
    const int groupLimit = std::min(g.stride - skip, static_cast<int>(s.width - left));
    for (long long y = top; y < bottom; ++y) {
        const std::uint8_t* cov = g.coverage.data() + (y - gy) * g.stride + skip;
        std::uint32_t* dst = s.row(static_cast<int>(y)) + left;
        int i = 0;
#if defined(__SSE2__)
        for (; i < cols && i + 4 <= groupLimit; i += 4) blend4(dst + i, cov + i);
#else
        (void)groupLimit;
#endif
        for (; i < cols; ++i) dst[i] = blend(dst[i], colour, cov[i]);
    }
}

}  // namespace

// The background is never filled: the program draws all its text in
// TRANSPARENT mode, so OPAQUE draws the same way.
BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int length) {
    if (!hdc || length < 0 || (!text && length > 0)) return FALSE;
    if (hdc->isWindowDC) refreshWindowTarget(hdc);
    const FontObject* font = hdc->font;
    const PixelSurface& target = hdc->target;
    if (length == 0 || !font || !font->face || !target.rowZero || target.width <= 0 || target.height <= 0)
        return TRUE;

    FontFace& face = *font->face;
    const std::uint32_t colour = pixelOf(hdc->textColor);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
    long long pen = x;
    for (int i = 0; i < length && pen < target.width;) {
        unsigned code = bytes[i++];
        if (cp932::isLeadByte(static_cast<std::uint8_t>(code)) && i < length) code = code << 8 | bytes[i++];
        const Glyph& g = face.glyph(code);
        if (g.width > 0) drawGlyph(target, pen + g.left, static_cast<long long>(y) + g.top, g, colour);
        pen += g.advance;
    }
    return TRUE;
}
