// A small pixel surface inside a larger buffer whose border must stay
// untouched, wired to a device context the way a memory DC is.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/linux/gdi_objects.h"

inline constexpr char kGothicFace[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";

inline std::unique_ptr<GdiObject> makeGothic(int height, int width) {
    return std::unique_ptr<GdiObject>(
        CreateFontA(height, width, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, FF_DONTCARE, kGothicFace));
}

class GuardedSurface {
public:
    static constexpr std::uint32_t kGuard = 0xA5C3E17Bu;
    static constexpr int kMargin = 40;

    GuardedSurface(int width, int height, bool bottomUp = false, std::uint32_t fill = 0)
        : width_(width), height_(height), stride_(width + 2 * kMargin),
          memory_(static_cast<std::size_t>(stride_) * (height + 2 * kMargin), kGuard) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) at(x, y) = fill;
        const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(stride_) * 4;
        std::uint8_t* first = reinterpret_cast<std::uint8_t*>(&at(0, 0));
        std::uint8_t* last = reinterpret_cast<std::uint8_t*>(&at(0, height - 1));
        dc.target.rowZero = bottomUp ? last : first;
        dc.target.rowStep = bottomUp ? -rowBytes : rowBytes;
        dc.target.width = width;
        dc.target.height = height;
        dc.textColor = 0x00FFFFFF;
        dc.bkMode = TRANSPARENT;
    }

    // Memory order: row 0 is the first row in memory, whatever the DC shows.
    std::uint32_t& at(int x, int memoryRow) {
        return memory_[static_cast<std::size_t>(memoryRow + kMargin) * stride_ + x + kMargin];
    }
    // GDI order: row 0 is the top row.
    std::uint32_t pixel(int x, int y) const { return dc.target.row(y)[x]; }

    bool guardIntact() const {
        for (int y = -kMargin; y < height_ + kMargin; ++y)
            for (int x = -kMargin; x < width_ + kMargin; ++x) {
                const bool inside = x >= 0 && x < width_ && y >= 0 && y < height_;
                const std::uint32_t v = memory_[static_cast<std::size_t>(y + kMargin) * stride_ + x + kMargin];
                if (!inside && v != kGuard) return false;
            }
        return true;
    }

    int inkCount(std::uint32_t background = 0) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) n += pixel(x, y) != background;
        return n;
    }

    int width() const { return width_; }
    int height() const { return height_; }

    DeviceContext dc;

private:
    int width_;
    int height_;
    int stride_;
    std::vector<std::uint32_t> memory_;
};
