// Inside the platform layer: a font at one cell size and the glyphs it has
// rasterised so far.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "platform/linux/cp932.h"
#include "platform/linux/gdi_objects.h"

// One character's ink, already placed in its cell: `left` and `top` are the
// offset of the coverage box from the cell's top-left corner, and the box
// never leaves the cell.  `advance` is the cell's width.
struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int advance = 0;
    // Rows of `stride` bytes, 0 (none) to 255 (full); the stride rounds the
    // width up to whole groups of four pixels, and the padding is zero.
    int stride = 0;
    std::vector<std::uint8_t> coverage;
    // The groups of four pixels that hold any ink, row by row: a glyph
    // drawn whole touches only these.
    struct InkGroup {
        std::uint16_t row;
        std::uint16_t col;  // a multiple of four
    };
    std::vector<InkGroup> inkGroups;
};

struct SharedFace;  // one FreeType face per font file, shared by all sizes

struct FontFace {
    FontFace(SharedFace* file, int cellHeight, int cellWidth);

    // The glyph of a code page 932 character code (a byte, or lead << 8 |
    // trail), rasterised on first use.
    const Glyph& glyph(unsigned code) {
        const Glyph* g = table[static_cast<std::size_t>(cp932::slotOf(code))];
        return g ? *g : rasterise(code);
    }

    int cellHeight;
    int cellWidth;  // of a half-width character; full-width ones take twice this

private:
    const Glyph& rasterise(unsigned code);

    SharedFace* file;
    int ascent;  // baseline, in pixels below the cell's top
    std::vector<const Glyph*> table;
    std::deque<Glyph> glyphs;  // a deque keeps the addresses in `table` valid
};
