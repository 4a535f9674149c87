#include "render/frame_buffer.h"

std::int32_t viewW = 1280;
std::int32_t viewH = 720;
std::uint8_t* vramptr = nullptr;
HBITMAP hvram = nullptr;
HDC hmemdc = nullptr;
