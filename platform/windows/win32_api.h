// On Windows: the real API, from the SDK's headers, with the GDI+ flat
// functions the program calls reachable as Gdiplus::Gdip... as on Linux.
// Included through platform/win32.h.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max, not the SDK's macros
#endif
#include <windows.h>
#include <mmsystem.h>
#include <gdiplus.h>

namespace Gdiplus {

// The SDK declares the flat API in Gdiplus::DllExports.
using DllExports::GdipBitmapGetPixel;
using DllExports::GdipDisposeImage;
using DllExports::GdipGetImageHeight;
using DllExports::GdipGetImageWidth;

// GdipCreateBitmapFromFile as on Linux: the SDK's call, after a look at the
// file's PNG header.  A file that is missing or no PNG, or whose image is
// wider or taller than kMaxImageSide, is refused before GDI+ decodes
// anything: decoding the whole file at once, GDI+ would allocate for any
// size a header claims, and reading such a picture pixel by pixel would
// take hours.
constexpr UINT kMaxImageSide = 16384;
Status GdipCreateBitmapFromFile(const WCHAR* filename, GpBitmap** bitmap);

// Why the last GdipCreateBitmapFromFile on this thread failed, in words
// ("file not found", "not a PNG file", "damaged PNG data ..."); empty after
// a success.
const char* GdipLastDecodeError();

}  // namespace Gdiplus
