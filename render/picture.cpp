#include "render/picture.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "platform/win32.h"
#include "render/frame_buffer.h"
#include "render/pixel_vectors.h"

Picture pic_wp;
Picture pic_logo;
Picture pic_sprite;

std::int32_t pngW = 0;
std::int32_t pngH = 0;
char pngError[256] = "";

void Picture::load(const char* filename) {
    pixels = load_PNG(filename);
    width = pngW;
    height = pngH;
}

std::uint32_t* load_PNG(const char* fileName) {
    // A longer name is cut to 259 characters; the conversion's result is
    // not needed beyond that.
    wchar_t wideName[260] = {};
    std::mbstowcs(wideName, fileName, 259);
    wideName[259] = L'\0';

    Gdiplus::GdiplusStartupInput input;
    std::uintptr_t token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) {
        pngW = 0;
        pngH = 0;
        std::snprintf(pngError, sizeof pngError, "the image decoder did not start");
        return nullptr;
    }

    UINT width = 0;
    UINT height = 0;
    Gdiplus::GpBitmap* bitmap = nullptr;
    const Gdiplus::Status created = Gdiplus::GdipCreateBitmapFromFile(wideName, &bitmap);
    if (bitmap && created == Gdiplus::Ok) {
        if (Gdiplus::GdipGetImageWidth(bitmap, &width) != Gdiplus::Ok) width = 0;
        pngW = static_cast<std::int32_t>(width);
        if (Gdiplus::GdipGetImageHeight(bitmap, &height) != Gdiplus::Ok) height = 0;
        pngH = static_cast<std::int32_t>(height);
        pngError[0] = '\0';
    } else {
        pngW = 0;
        pngH = 0;
        std::snprintf(pngError, sizeof pngError, "%s", Gdiplus::GdipLastDecodeError());
    }

    // An empty picture still gets a real block, so a null pointer keeps
    // meaning "never decoded".
    const std::size_t bytes = std::size_t(height) * width * 4;
    auto* block = static_cast<std::uint32_t*>(std::malloc(bytes != 0 ? bytes : 1));
    if (!block) {
        pngW = 0;
        pngH = 0;
        std::snprintf(pngError, sizeof pngError, "out of memory for a %ux%u picture", width, height);
        if (bitmap) Gdiplus::GdipDisposeImage(bitmap);
        Gdiplus::GdiplusShutdown(token);
        return nullptr;
    }

    std::size_t next = 0;
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            Gdiplus::ARGB color = 0xFF000000;  // what an unreadable pixel becomes
            Gdiplus::GdipBitmapGetPixel(bitmap, static_cast<int>(x), static_cast<int>(y), &color);
            block[next++] = color;
        }
    }

    if (bitmap) Gdiplus::GdipDisposeImage(bitmap);
    Gdiplus::GdiplusShutdown(token);
    return block;
}

// ---- blitters -------------------------------------------------------------
//
// Source rows advance by the picture's width; destination rows move one
// frame-buffer row up (memory order) or down (screen order).  The pointers
// are only moved while another row follows, so they never leave the buffers.

// Function multi-versioning by target name rests on the ELF loader's
// indirect functions; a Windows executable has none and keeps the baseline.
#if defined(__x86_64__) && defined(__ELF__)
#define PELORIN_AVX2_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define PELORIN_AVX2_CLONES
#endif

namespace {

inline std::uint32_t* frameWord(std::ptrdiff_t memoryRow, int x) {
    return reinterpret_cast<std::uint32_t*>(vramptr) + (memoryRow * viewW + x);
}

// Moves each colour byte of the destination toward the source by alpha/255,
// truncating toward zero.  The product goes through unsigned so that even
// an out-of-contract alpha cannot overflow.
inline std::uint32_t blendChannel(std::uint32_t d, std::uint32_t s, int alpha) {
    const int diff = static_cast<int>(s) - static_cast<int>(d);
    const int change = static_cast<int>(static_cast<std::uint32_t>(diff) * static_cast<std::uint32_t>(alpha)) / 255;
    return (d + static_cast<std::uint32_t>(change)) & 0xFFu;
}

// Both rows are written as selects (a skipped pixel gets its own value back)
// so that the compiler can turn them into vector code; the result is the
// same as leaving the skipped pixels alone.
inline void blendRow(const std::uint32_t* src, std::uint32_t* dst, int w, int alpha) {
    for (int i = 0; i < w; ++i) {
        const std::uint32_t s = src[i];
        const std::uint32_t d = dst[i];
        const std::uint32_t b = blendChannel(d & 0xFF, s & 0xFF, alpha);
        const std::uint32_t g = blendChannel(d >> 8 & 0xFF, s >> 8 & 0xFF, alpha);
        const std::uint32_t r = blendChannel(d >> 16 & 0xFF, s >> 16 & 0xFF, alpha);
        const std::uint32_t blended = (d & 0xFF000000u) | r << 16 | g << 8 | b;
        dst[i] = (s & 0xFF000000u) ? blended : d;
    }
}

inline void keyedRow(const std::uint32_t* src, std::uint32_t* dst, int w) {
    for (int i = 0; i < w; ++i) {
        const std::uint32_t s = src[i];
        const std::uint32_t d = dst[i];
        dst[i] = (s & 0xFF000000u) ? s : d;
    }
}

// The same blend with the change for every source-minus-destination
// difference looked up in a table made with the rule itself: the title fades
// blend whole frames, and the lookups give the same bytes several times
// faster than dividing per byte.  On x86-64 the eight-pixel blend below
// does most of a row, and the table its last pixels and any alpha outside
// 0..255.
struct BlendTable {
    int change[511];
    explicit BlendTable(int alpha) {
        for (int diff = -255; diff <= 255; ++diff)
            change[diff + 255] = static_cast<int>(static_cast<std::int64_t>(diff) * alpha / 255);
    }
    // s and d are bytes, so the index lies in 0..510; unsigned arithmetic
    // leaves the sanitizer build no overflow to check in this hot loop.
    std::uint32_t channel(std::uint32_t d, std::uint32_t s) const {
        return (d + static_cast<std::uint32_t>(change[s + 255u - d])) & 0xFFu;
    }
};

#if defined(__x86_64__)
// The same rule again, eight pixels at a time in 16-bit lanes: blue and red
// of each pixel in one vector, green and the unused fourth byte in another.
// For alpha in 0..255 the product |s - d| * alpha fits in 16 bits, and
// (x + 1 + (x >> 8)) >> 8 is x / 255 for every x up to 255 * 255.
inline void blendLanes(Lanes16& d, const Lanes16& s, const Lanes16& alpha) {
    const Lanes16 up = (Lanes16)(s >= d);  // all ones where the destination rises
    const Lanes16 distance = ((s - d) & up) | ((d - s) & ~up);
    const Lanes16 x = distance * alpha;
    const Lanes16 change = (x + 1 + (x >> 8)) >> 8;
    d = ((d + change) & up) | ((d - change) & ~up);
}

inline void blendEight(const std::uint32_t* src, std::uint32_t* dst, const Lanes16& alpha) {
    Words8 s;
    Words8 d;
    std::memcpy(&s, src, sizeof s);
    std::memcpy(&d, dst, sizeof d);
    Lanes16 low = (Lanes16)(d & 0x00FF00FFu);
    Lanes16 high = (Lanes16)(d >> 8 & 0x00FF00FFu);
    blendLanes(low, (Lanes16)(s & 0x00FF00FFu), alpha);
    blendLanes(high, (Lanes16)(s >> 8 & 0x00FF00FFu), alpha);
    const Words8 blended = (d & 0xFF000000u) | ((Words8)high & 0xFFu) << 8 | ((Words8)low & 0x00FF00FFu);
    const Words8 keep = (Words8)((s & 0xFF000000u) == 0);  // all ones where the source is transparent
    d = (d & keep) | (blended & ~keep);
    std::memcpy(dst, &d, sizeof d);
}

#endif

// On x86-64, where the sanitizer build runs every in-process test through
// the fades, the eight-pixel blend does most of each row, built twice like
// the sprite rows below (with AVX2 the eight pixels take one register instead
// of two).  Elsewhere the table does the whole row: the arm64 tests run
// under an emulator, which takes twice as long over the vector lanes.
PELORIN_AVX2_CLONES
void fadeRow(const std::uint32_t* src, std::uint32_t* dst, int w, const BlendTable& table, int alpha) {
    int i = 0;
#if defined(__x86_64__)
    if (alpha >= 0 && alpha <= 255) {
        const Lanes16 lanes = Lanes16{} + static_cast<std::uint16_t>(alpha);
        for (; i + 8 <= w; i += 8) blendEight(src + i, dst + i, lanes);
    }
#else
    static_cast<void>(alpha);  // the table holds it
#endif
    for (; i < w; ++i) {
        const std::uint32_t s = src[i];
        if ((s & 0xFF000000u) == 0) continue;
        const std::uint32_t d = dst[i];
        const std::uint32_t b = table.channel(d & 0xFF, s & 0xFF);
        const std::uint32_t g = table.channel(d >> 8 & 0xFF, s >> 8 & 0xFF);
        const std::uint32_t r = table.channel(d >> 16 & 0xFF, s >> 16 & 0xFF);
        dst[i] = (d & 0xFF000000u) | r << 16 | g << 8 | b;
    }
}

}  // namespace

void Picture::drawPictureAlpha(int sx, int sy, int w, int h, int x, int y, int alpha) {
    if (w <= 0 || h <= 0) return;
    const std::uint32_t* src = pixels + (std::ptrdiff_t(sy) * width + sx);
    std::uint32_t* dst = frameWord(y, x);
    const std::ptrdiff_t srcStep = width;
    const std::ptrdiff_t dstStep = viewW;
    const BlendTable table(alpha);
    for (;;) {
        fadeRow(src, dst, w, table, alpha);
        if (--h == 0) break;
        src += srcStep;
        dst += dstStep;
    }
}

void Picture::drawSprite(int sx, int sy, int w, int h, int x, int y) {
    if (w <= 0 || h <= 0) return;
    const std::uint32_t* src = pixels + (std::ptrdiff_t(sy) * width + sx);
    std::uint32_t* dst = frameWord(std::ptrdiff_t(719) - y, x);
    const std::ptrdiff_t srcStep = width;
    const std::ptrdiff_t dstStep = -std::ptrdiff_t(viewW);
    for (;;) {
        keyedRow(src, dst, w);
        if (--h == 0) break;
        src += srcStep;
        dst += dstStep;
    }
}

namespace {

// Built twice on x86-64: processors with AVX2 can divide eight lanes at
// once, the rest run the baseline build; both apply the same rule to every
// byte.  Function multi-versioning by target name exists only there.  The
// clones stay inside this file: compilers disagree on how other files would
// name them.
PELORIN_AVX2_CLONES
void blendSpriteRows(const std::uint32_t* src, std::uint32_t* dst, std::ptrdiff_t srcStep, std::ptrdiff_t dstStep,
                     int w, int h, int alpha) {
    for (;;) {
        blendRow(src, dst, w, alpha);
        if (--h == 0) break;
        src += srcStep;
        dst += dstStep;
    }
}

}  // namespace

void Picture::drawSpriteAlpha(int sx, int sy, int w, int h, int x, int y, int alpha) {
    if (w <= 0 || h <= 0) return;
    const std::uint32_t* src = pixels + (std::ptrdiff_t(sy) * width + sx);
    std::uint32_t* dst = frameWord(std::ptrdiff_t(719) - y, x);
    blendSpriteRows(src, dst, width, -std::ptrdiff_t(viewW), w, h, alpha);
}
