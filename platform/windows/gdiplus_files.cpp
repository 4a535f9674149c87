#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/win32.h"

namespace {

thread_local char lastDecodeError[160] = "";

std::uint32_t bigEndian32(const unsigned char* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

const char* statusName(Gdiplus::Status status) {
    switch (status) {
        case Gdiplus::OutOfMemory: return "out of memory";
        case Gdiplus::InvalidParameter: return "invalid parameter";
        case Gdiplus::UnknownImageFormat: return "unknown image format";
        case Gdiplus::FileNotFound: return "file not found";
        case Gdiplus::AccessDenied: return "access denied";
        case Gdiplus::ValueOverflow: return "value overflow";
        default: return "error";
    }
}

// Refuses what GDI+ should not be handed; Ok when the file may be decoded.
Gdiplus::Status checkHeader(const WCHAR* filename) {
    std::FILE* file = _wfopen(filename, L"rb");
    if (file == nullptr) {
        const int error = errno;
        if (error == ENOENT) {
            std::snprintf(lastDecodeError, sizeof lastDecodeError, "file not found");
            return Gdiplus::FileNotFound;
        }
        if (error == EACCES) {
            std::snprintf(lastDecodeError, sizeof lastDecodeError, "permission denied");
            return Gdiplus::AccessDenied;
        }
        std::snprintf(lastDecodeError, sizeof lastDecodeError, "cannot open the file: %s", std::strerror(error));
        return Gdiplus::Win32Error;
    }
    // The signature, then the IHDR chunk: length, type, width, height.
    unsigned char header[24] = {};
    const std::size_t got = std::fread(header, 1, sizeof header, file);
    std::fclose(file);
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (got < 8 || std::memcmp(header, signature, 8) != 0) {
        std::snprintf(lastDecodeError, sizeof lastDecodeError, "not a PNG file");
        return Gdiplus::UnknownImageFormat;
    }
    if (got < sizeof header || std::memcmp(header + 12, "IHDR", 4) != 0) {
        std::snprintf(lastDecodeError, sizeof lastDecodeError, "damaged PNG data: no image header");
        return Gdiplus::InvalidParameter;
    }
    const std::uint32_t width = bigEndian32(header + 16);
    const std::uint32_t height = bigEndian32(header + 20);
    if (width > Gdiplus::kMaxImageSide || height > Gdiplus::kMaxImageSide) {
        std::snprintf(lastDecodeError, sizeof lastDecodeError, "image is %lux%lu pixels, larger than %u on a side",
                      static_cast<unsigned long>(width), static_cast<unsigned long>(height), Gdiplus::kMaxImageSide);
        return Gdiplus::ValueOverflow;
    }
    return Gdiplus::Ok;
}

}  // namespace

namespace Gdiplus {

Status GdipCreateBitmapFromFile(const WCHAR* filename, GpBitmap** bitmap) {
    *bitmap = nullptr;
    lastDecodeError[0] = '\0';
    const Status checked = checkHeader(filename);
    if (checked != Ok) return checked;
    const Status status = DllExports::GdipCreateBitmapFromFile(filename, bitmap);
    if (status != Ok) {
        *bitmap = nullptr;
        std::snprintf(lastDecodeError, sizeof lastDecodeError, "damaged PNG data: GDI+ could not decode it (%s)",
                      statusName(status));
    }
    return status;
}

const char* GdipLastDecodeError() { return lastDecodeError; }

}  // namespace Gdiplus
