// Inside the platform layer: what GDI handles point at.
#pragma once

#include <cstdint>

#include "platform/win32.h"

struct FontFace;  // platform/font.cpp

// Every HGDIOBJ points at one of these; `kind` tells which.  Like GDI's
// handle table, the layer keeps every object it made until it is deleted, so
// objects a program never deletes stay reachable until the process ends.
struct GdiObject {
    enum class Kind { Bitmap, Font };
    explicit GdiObject(Kind k);
    virtual ~GdiObject();
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    Kind kind;
};

// A 32-bit pixel surface.  `rowZero` is the address of the row shown at the
// top (GDI row 0); `rowStep` is the signed byte distance from one GDI row to
// the next below it, so a bottom-up DIB section has a negative rowStep.
struct PixelSurface {
    std::uint8_t* rowZero = nullptr;
    std::ptrdiff_t rowStep = 0;
    int width = 0;
    int height = 0;

    std::uint32_t* row(int y) const { return reinterpret_cast<std::uint32_t*>(rowZero + rowStep * y); }
};

struct BitmapObject : GdiObject {
    BitmapObject() : GdiObject(Kind::Bitmap) {}
    ~BitmapObject() override;
    PixelSurface surface;
    void* memory = nullptr;  // owned pixel block
};

struct FontObject : GdiObject {
    FontObject() : GdiObject(Kind::Font) {}
    ~FontObject() override;
    int cellHeight = 0;  // pixels
    int cellWidth = 0;   // pixels of a half-width character
    FontFace* face = nullptr;  // null: the font draws nothing
};

// A device context draws into `target`: the selected bitmap of a memory DC,
// or the window surface for a window DC (refreshed by BeginPaint/GetDC).
struct DeviceContext {
    bool isWindowDC = false;
    WindowObject* window = nullptr;
    PixelSurface target;
    BitmapObject* bitmap = nullptr;  // memory DC: the selected bitmap
    FontObject* font = nullptr;
    COLORREF textColor = 0x000000;
    int bkMode = OPAQUE;
};
