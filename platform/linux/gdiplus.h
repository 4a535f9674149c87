// The image-decoding calls of the GDI+ flat API that the program uses,
// implemented with libpng.  A bitmap holds the file's stored 8-bit values,
// not premultiplied and without gamma or colour-space conversion: 16-bit
// samples reduce to their high byte, palette and grey images expand, and an
// image without alpha reads as alpha 255.  Only PNG files are understood.
#pragma once

#include "platform/linux/win32_api.h"

namespace Gdiplus {

enum Status {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    ObjectBusy = 4,
    InsufficientBuffer = 5,
    NotImplemented = 6,
    Win32Error = 7,
    WrongState = 8,
    Aborted = 9,
    FileNotFound = 10,
    ValueOverflow = 11,
    AccessDenied = 12,
    UnknownImageFormat = 13,
};

using ARGB = DWORD;

struct GdiplusStartupInput {
    UINT GdiplusVersion = 1;
    void* DebugEventCallback = nullptr;
    BOOL SuppressBackgroundThread = FALSE;
    BOOL SuppressExternalCodecs = FALSE;
};

struct GpBitmap;

Status GdiplusStartup(std::uintptr_t* token, const GdiplusStartupInput* input, void* output);
void GdiplusShutdown(std::uintptr_t token);

// Decodes the whole file at once.  Images wider or taller than
// kMaxImageSide are refused with ValueOverflow before any pixel memory is
// allocated.
constexpr UINT kMaxImageSide = 16384;
Status GdipCreateBitmapFromFile(const WCHAR* filename, GpBitmap** bitmap);
Status GdipGetImageWidth(GpBitmap* image, UINT* width);
Status GdipGetImageHeight(GpBitmap* image, UINT* height);
Status GdipBitmapGetPixel(GpBitmap* bitmap, int x, int y, ARGB* color);
Status GdipDisposeImage(GpBitmap* image);

// Why the last GdipCreateBitmapFromFile on this thread failed, in words
// ("file not found", "not a PNG file", libpng's own message ...); empty
// after a success.
const char* GdipLastDecodeError();

}  // namespace Gdiplus
