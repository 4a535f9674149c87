// Decoded pictures and the routines that draw rectangles of them straight
// into the frame buffer.  A picture's words have the frame buffer's byte
// order (blue, green, red, alpha), so they copy across unchanged.
#pragma once

#include <cstdint>

struct Picture {
    std::int32_t width;
    std::int32_t height;
    std::uint32_t* pixels;  // width * height words, top row of the file first; null if never loaded

    // Deliberately empty: the process-wide pictures start zeroed and stay so
    // until load fills them.
    Picture() {}

    void load(const char* filename);

    // The caller keeps every rectangle inside the picture and inside the
    // frame buffer and alpha within 0..255; nothing here clips.
    // Rows go to memory rows y, y + 1, ... (the picture's first row lowest on screen).
    void drawPictureAlpha(int sx, int sy, int w, int h, int x, int y, int alpha);
    // Rows go to screen rows y, y + 1, ... (the picture's first row on top).
    void drawSprite(int sx, int sy, int w, int h, int x, int y);
    void drawSpriteAlpha(int sx, int sy, int w, int h, int x, int y, int alpha);
};

extern Picture pic_wp;      // "wp_1280x720.png"
extern Picture pic_logo;    // "tx_logo.png"
extern Picture pic_sprite;  // "sprite.png"

// Size of the image load_PNG decoded last, handed on to Picture::load.
extern std::int32_t pngW;
extern std::int32_t pngH;

// Why the last load_PNG produced no pixels ("file not found", "not a PNG
// file", ...); empty after a successful load.
extern char pngError[256];

// Decodes a PNG file into a malloc'd block of pngW * pngH words.  A missing or
// undecodable file gives a 0 x 0 picture with a non-null empty block; null
// comes back only when the decoder cannot start or memory runs out.
std::uint32_t* load_PNG(const char* fileName);
