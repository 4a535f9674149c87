// Rasterises a line of text into a coverage mask with FreeType, using a bold
// sans-serif face that fontconfig picks.
#pragma once

#include <string>

#include "assets/raster.h"

struct TextStyle {
    int pixelSize = 32;
    float slant = 0.0f;     // horizontal shear per unit of height, for a forward lean
    float tracking = 0.0f;  // extra pixels after every character
};

class TextRasterizer {
public:
    TextRasterizer();
    ~TextRasterizer();
    TextRasterizer(const TextRasterizer&) = delete;
    TextRasterizer& operator=(const TextRasterizer&) = delete;

    bool ready() const { return face_ != nullptr; }
    const std::string& fontFile() const { return fontFile_; }

    // The mask is cropped to the ink and padded by `pad` empty pixels on every side.
    Mask render(const std::string& ascii, const TextStyle& style, int pad);
    // The largest size at or below `style.pixelSize` whose ink fits maxWidth × maxHeight.
    TextStyle fit(const std::string& ascii, TextStyle style, int maxWidth, int maxHeight);

private:
    void* library_ = nullptr;  // FT_Library
    void* face_ = nullptr;     // FT_Face
    std::string fontFile_;
};
