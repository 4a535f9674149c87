// Memory device contexts, 32-bit DIB sections, object selection and the
// SRCCOPY blits.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "platform/linux/gdi_objects.h"
#include "platform/linux/window_internal.h"

namespace {
// Never destroyed: objects a program never deletes must stay reachable from
// here for as long as the process lives, static destruction and exit-time
// leak checks included.
std::vector<GdiObject*>& objectTable = *new std::vector<GdiObject*>;
std::vector<DeviceContext*> memoryDCs;

template <typename T>
void forget(std::vector<T*>& table, T* item) {
    auto it = std::find(table.begin(), table.end(), item);
    if (it != table.end()) table.erase(it);
}

template <typename T>
bool known(const std::vector<T*>& table, T* item) {
    return std::find(table.begin(), table.end(), item) != table.end();
}
}  // namespace

GdiObject::GdiObject(Kind k) : kind(k) { objectTable.push_back(this); }
GdiObject::~GdiObject() { forget(objectTable, this); }

BitmapObject::~BitmapObject() { std::free(memory); }

HDC CreateCompatibleDC(HDC /*hdc*/) {
    auto* dc = new DeviceContext();
    memoryDCs.push_back(dc);
    return dc;
}

BOOL DeleteDC(HDC hdc) {
    if (!known(memoryDCs, hdc)) return FALSE;
    forget(memoryDCs, hdc);
    delete hdc;
    return TRUE;
}

HBITMAP CreateDIBSection(HDC /*hdc*/, const BITMAPINFO* bmi, UINT usage, void** bits, HANDLE section,
                         DWORD offset) {
    if (bits) *bits = nullptr;
    if (bmi == nullptr || usage != DIB_RGB_COLORS || section != nullptr || offset != 0) return nullptr;
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biBitCount != 32 || h.biCompression != BI_RGB || h.biPlanes != 1)
        return nullptr;
    const std::int64_t width = h.biWidth;
    const std::int64_t height = h.biHeight < 0 ? -static_cast<std::int64_t>(h.biHeight) : h.biHeight;
    if (width <= 0 || height <= 0 || width > 32768 || height > 32768) return nullptr;

    const std::size_t bytes = static_cast<std::size_t>(width * height * 4);
    void* memory = std::calloc(bytes, 1);
    if (memory == nullptr) return nullptr;

    auto* bitmap = new BitmapObject();
    bitmap->memory = memory;
    PixelSurface& s = bitmap->surface;
    s.width = static_cast<int>(width);
    s.height = static_cast<int>(height);
    const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(width) * 4;
    if (h.biHeight > 0) {  // bottom-up: the last row in memory is GDI row 0
        s.rowZero = static_cast<std::uint8_t*>(memory) + stride * (height - 1);
        s.rowStep = -stride;
    } else {
        s.rowZero = static_cast<std::uint8_t*>(memory);
        s.rowStep = stride;
    }
    if (bits) *bits = memory;
    return bitmap;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj) {
    if (hdc == nullptr || obj == nullptr) return nullptr;
    switch (obj->kind) {
        case GdiObject::Kind::Bitmap: {
            if (hdc->isWindowDC) return nullptr;  // a window DC draws on its window
            HGDIOBJ previous = hdc->bitmap;
            hdc->bitmap = static_cast<BitmapObject*>(obj);
            hdc->target = hdc->bitmap->surface;
            return previous;
        }
        case GdiObject::Kind::Font: {
            HGDIOBJ previous = hdc->font;
            hdc->font = static_cast<FontObject*>(obj);
            return previous;
        }
    }
    return nullptr;
}

BOOL DeleteObject(HGDIOBJ obj) {
    if (!known(objectTable, obj)) return FALSE;
    delete obj;
    return TRUE;
}

int SetBkMode(HDC hdc, int mode) {
    if (hdc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int previous = hdc->bkMode;
    hdc->bkMode = mode;
    return previous;
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    if (hdc == nullptr) return 0xFFFFFFFF;  // CLR_INVALID
    const COLORREF previous = hdc->textColor;
    hdc->textColor = color & 0x00FFFFFF;
    return previous;
}

namespace {

// The part [from, from + count) of a span that lies inside [0, limit),
// returned as an offset into the span and a length.
struct Span {
    int skip;
    int length;
};

Span clipSpan(std::int64_t from, std::int64_t count, std::int64_t limit) {
    std::int64_t begin = from < 0 ? 0 : from;
    std::int64_t end = from + count > limit ? limit : from + count;
    if (end <= begin) return {0, 0};
    return {static_cast<int>(begin - from), static_cast<int>(end - begin)};
}

}  // namespace

BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop) {
    if (dst == nullptr || src == nullptr || rop != SRCCOPY) return FALSE;
    if (dst->isWindowDC) refreshWindowTarget(dst);
    const PixelSurface& d = dst->target;
    const PixelSurface& s = src->target;
    if (d.rowZero == nullptr || s.rowZero == nullptr || cx <= 0 || cy <= 0) return TRUE;

    // Only pixels whose source and destination both lie inside their bitmaps
    // are copied; everything else in the destination rectangle stays as it is.
    Span cols = clipSpan(x, cx, d.width);
    Span srcCols = clipSpan(static_cast<std::int64_t>(x1) + cols.skip, cols.length, s.width);
    Span rows = clipSpan(y, cy, d.height);
    Span srcRows = clipSpan(static_cast<std::int64_t>(y1) + rows.skip, rows.length, s.height);
    if (srcCols.length == 0 || srcRows.length == 0) return TRUE;

    const int dx = x + cols.skip + srcCols.skip;
    const int sx = x1 + cols.skip + srcCols.skip;
    const int dy = y + rows.skip + srcRows.skip;
    const int sy = y1 + rows.skip + srcRows.skip;
    const std::size_t bytes = static_cast<std::size_t>(srcCols.length) * 4;
    // Rectangles that share no byte are copied with memcpy: the C library
    // copies both ways as fast, but AddressSanitizer's memmove is a plain loop.
    const auto extent = [&](const PixelSurface& surface, int top, int left) {
        const auto* first = reinterpret_cast<const std::uint8_t*>(surface.row(top) + left);
        const auto* last = reinterpret_cast<const std::uint8_t*>(surface.row(top + srcRows.length - 1) + left);
        return std::pair{std::min(first, last), std::max(first, last) + bytes};
    };
    const auto [dLow, dHigh] = extent(d, dy, dx);
    const auto [sLow, sHigh] = extent(s, sy, sx);
    const std::less<const std::uint8_t*> before;  // a total order, even between two allocations
    if (!before(sLow, dHigh) || !before(dLow, sHigh)) {
        for (int r = 0; r < srcRows.length; ++r) std::memcpy(d.row(dy + r) + dx, s.row(sy + r) + sx, bytes);
        return TRUE;
    }
    for (int r = 0; r < srcRows.length; ++r)
        std::memmove(d.row(dy + r) + dx, s.row(sy + r) + sx, bytes);
    return TRUE;
}

BOOL StretchBlt(HDC dst, int xDst, int yDst, int wDst, int hDst, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                DWORD rop) {
    if (dst == nullptr || src == nullptr || rop != SRCCOPY) return FALSE;
    if (dst->isWindowDC) refreshWindowTarget(dst);
    const PixelSurface& d = dst->target;
    const PixelSurface& s = src->target;
    if (d.rowZero == nullptr || s.rowZero == nullptr) return TRUE;
    if (wDst <= 0 || hDst <= 0 || wSrc <= 0 || hSrc <= 0) return TRUE;
    if (wDst == wSrc && hDst == hSrc) return BitBlt(dst, xDst, yDst, wDst, hDst, src, xSrc, ySrc, rop);

    Span cols = clipSpan(xDst, wDst, d.width);
    Span rows = clipSpan(yDst, hDst, d.height);
    if (cols.length == 0 || rows.length == 0) return TRUE;

    // Nearest neighbour: destination pixel i of the rectangle samples source
    // pixel floor((i + 0.5) * wSrc / wDst).  Samples outside the source
    // bitmap are marked -1 and leave the destination pixel alone.
    static std::vector<int> columnSource;
    columnSource.resize(static_cast<std::size_t>(cols.length));
    bool allColumnsInside = true;
    for (int i = 0; i < cols.length; ++i) {
        const std::int64_t k = cols.skip + i;
        const std::int64_t sxi = xSrc + (2 * k + 1) * wSrc / (2 * static_cast<std::int64_t>(wDst));
        const bool inside = sxi >= 0 && sxi < s.width;
        columnSource[static_cast<std::size_t>(i)] = inside ? static_cast<int>(sxi) : -1;
        allColumnsInside = allColumnsInside && inside;
    }

    const int dx = xDst + cols.skip;
    std::int64_t previousSourceRow = -1;
    for (int j = 0; j < rows.length; ++j) {
        const std::int64_t k = rows.skip + j;
        const std::int64_t syj = ySrc + (2 * k + 1) * hSrc / (2 * static_cast<std::int64_t>(hDst));
        if (syj < 0 || syj >= s.height) continue;
        std::uint32_t* out = d.row(yDst + rows.skip + j) + dx;
        if (syj == previousSourceRow && allColumnsInside) {
            // Magnified rows repeat: copying the row just written is cheaper
            // than sampling it again.
            std::memcpy(out, d.row(yDst + rows.skip + j - 1) + dx, static_cast<std::size_t>(cols.length) * 4);
            continue;
        }
        const std::uint32_t* in = s.row(static_cast<int>(syj));
        const int* table = columnSource.data();
        if (allColumnsInside) {
            for (int i = 0; i < cols.length; ++i) out[i] = in[table[i]];
        } else {
            for (int i = 0; i < cols.length; ++i)
                if (table[i] >= 0) out[i] = in[table[i]];
        }
        previousSourceRow = syj;
    }
    return TRUE;
}
