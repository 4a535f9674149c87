#include "platform/linux/gdiplus.h"

#include <png.h>
#include <sys/stat.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>
#include <string>

namespace Gdiplus {

struct GpBitmap {
    UINT width;
    UINT height;
    ARGB* pixels;  // width * height words, top row first, malloc'd
};

namespace {

thread_local char lastDecodeError[256] = "";

void setLastError(const char* text) {
    std::snprintf(lastDecodeError, sizeof lastDecodeError, "%s", text);
}

// Everything the libpng side touches.  It is a plain record on purpose: a
// libpng error longjmps out of decodePng, which must not skip any
// destructor, and whatever was allocated has to be reachable afterwards so
// it can be freed.
struct DecodeJob {
    std::FILE* file;
    Status status;
    char message[256];
    UINT width;
    UINT height;
    ARGB* pixels;
    png_bytep* rows;
};

[[noreturn]] void onPngError(png_structp png, png_const_charp text) {
    auto* job = static_cast<DecodeJob*>(png_get_error_ptr(png));
    job->status = UnknownImageFormat;
    std::snprintf(job->message, sizeof job->message, "damaged PNG data: %s", text);
    png_longjmp(png, 1);
}

// Warnings are about ancillary chunks libpng has already dropped; the
// pixels are still good, so stay quiet.
void onPngWarning(png_structp, png_const_charp) {}

void readFromFile(png_structp png, png_bytep data, size_t length) {
    auto* job = static_cast<DecodeJob*>(png_get_io_ptr(png));
    if (std::fread(data, 1, length, job->file) != length)
        png_error(png, std::ferror(job->file) ? "read error" : "the file ends early");
}

void releaseBuffers(DecodeJob* job) {
    std::free(job->rows);
    job->rows = nullptr;
    std::free(job->pixels);
    job->pixels = nullptr;
}

// Turns libpng's rows of R, G, B, A bytes into ARGB words, in place.
void packArgb(DecodeJob* job) {
    auto* bytes = reinterpret_cast<unsigned char*>(job->pixels);
    const std::size_t count = std::size_t(job->width) * job->height;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* p = bytes + i * 4;
        const ARGB word = ARGB(p[3]) << 24 | ARGB(p[0]) << 16 | ARGB(p[1]) << 8 | ARGB(p[2]);
        std::memcpy(bytes + i * 4, &word, 4);
    }
}

// Reads the PNG stream after its signature into job->pixels.  On failure
// job->status and job->message say why and nothing stays allocated.
void decodePng(DecodeJob* job) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, job, onPngError, onPngWarning);
    if (!png) {
        job->status = OutOfMemory;
        std::snprintf(job->message, sizeof job->message, "out of memory");
        return;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        job->status = OutOfMemory;
        std::snprintf(job->message, sizeof job->message, "out of memory");
        return;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        releaseBuffers(job);
        return;
    }

    png_set_read_fn(png, job, readFromFile);
    png_set_sig_bytes(png, 8);
    // Our own side limit decides, so that an oversized image is reported as
    // such rather than as damage.
    png_set_user_limits(png, 0x7fffffff, 0x7fffffff);
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    if (width > kMaxImageSide || height > kMaxImageSide) {
        job->status = ValueOverflow;
        std::snprintf(job->message, sizeof job->message,
                      "image is %lux%lu pixels, larger than %u on a side",
                      static_cast<unsigned long>(width), static_cast<unsigned long>(height),
                      kMaxImageSide);
        png_destroy_read_struct(&png, &info, nullptr);
        return;
    }

    // Stored values only: no gamma, no colour management, no premultiplying.
    const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (bitDepth == 16) png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (hasTrns) png_set_tRNS_to_alpha(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    if ((colorType & PNG_COLOR_MASK_ALPHA) == 0 && !hasTrns)
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != std::size_t(width) * 4)
        png_error(png, "unexpected row layout after conversion");

    // Both sides are at most kMaxImageSide, so this cannot overflow; the
    // check keeps that true should the limit ever grow.
    if (width != 0 && std::size_t(height) > SIZE_MAX / 4 / width) {
        job->status = ValueOverflow;
        std::snprintf(job->message, sizeof job->message, "image is too large for memory");
        png_destroy_read_struct(&png, &info, nullptr);
        return;
    }
    const std::size_t bytes = std::size_t(width) * height * 4;
    job->pixels = static_cast<ARGB*>(std::malloc(bytes));
    job->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
    if (!job->pixels || !job->rows) {
        releaseBuffers(job);
        job->status = OutOfMemory;
        std::snprintf(job->message, sizeof job->message,
                      "out of memory for a %lux%lu image", static_cast<unsigned long>(width),
                      static_cast<unsigned long>(height));
        png_destroy_read_struct(&png, &info, nullptr);
        return;
    }
    auto* base = reinterpret_cast<png_bytep>(job->pixels);
    for (png_uint_32 y = 0; y < height; ++y) job->rows[y] = base + std::size_t(y) * width * 4;
    png_read_image(png, job->rows);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);

    std::free(job->rows);
    job->rows = nullptr;
    job->width = width;
    job->height = height;
    packArgb(job);
    job->status = Ok;
    job->message[0] = '\0';
}

// The inverse of the multibyte-to-wide conversion the caller made under the
// current locale, so the file name comes back byte for byte.  Names the
// locale cannot express go out as UTF-8, the usual Linux file name encoding.
std::string narrowFileName(const WCHAR* name) {
    std::mbstate_t state{};
    const WCHAR* cursor = name;
    const std::size_t length = std::wcsrtombs(nullptr, &cursor, 0, &state);
    if (length != static_cast<std::size_t>(-1)) {
        std::string out(length, '\0');
        state = std::mbstate_t{};
        cursor = name;
        std::wcsrtombs(out.data(), &cursor, length + 1, &state);
        return out;
    }
    std::string out;
    for (const WCHAR* p = name; *p; ++p) {
        const auto c = static_cast<std::uint32_t>(*p);
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | c >> 12);
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | c >> 18);
            out += char(0x80 | (c >> 12 & 0x3F));
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

Status openFailure(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        setLastError("file not found");
        return FileNotFound;
    case EACCES:
    case EPERM:
        setLastError("permission denied");
        return AccessDenied;
    default:
        std::snprintf(lastDecodeError, sizeof lastDecodeError, "cannot open the file: %s",
                      std::strerror(error));
        return Win32Error;
    }
}

}  // namespace

Status GdiplusStartup(std::uintptr_t* token, const GdiplusStartupInput* input, void*) {
    if (!token || !input) return InvalidParameter;
    *token = 1;
    return Ok;
}

void GdiplusShutdown(std::uintptr_t) {}

Status GdipCreateBitmapFromFile(const WCHAR* filename, GpBitmap** bitmap) {
    if (!bitmap || !filename) return InvalidParameter;
    *bitmap = nullptr;

    // A FIFO or a device in the picture's place would block the program or
    // feed it endless bytes: only a regular file is opened.
    const std::string name = narrowFileName(filename);
    struct stat status {};
    if (stat(name.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        setLastError(S_ISDIR(status.st_mode) ? "it is a folder" : "it is not a regular file");
        return Win32Error;
    }
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (!file) return openFailure(errno);

    unsigned char signature[8];
    const std::size_t got = std::fread(signature, 1, sizeof signature, file);
    if (got != sizeof signature || png_sig_cmp(signature, 0, sizeof signature) != 0) {
        const bool readError = std::ferror(file) != 0;
        const int error = errno;
        std::fclose(file);
        if (readError) {
            std::snprintf(lastDecodeError, sizeof lastDecodeError, "cannot read the file: %s",
                          std::strerror(error));
            return Win32Error;
        }
        setLastError("not a PNG file");
        return UnknownImageFormat;
    }

    DecodeJob job{};
    job.file = file;
    decodePng(&job);
    std::fclose(file);
    if (job.status != Ok) {
        setLastError(job.message);
        return job.status;
    }

    auto* created = new (std::nothrow) GpBitmap{job.width, job.height, job.pixels};
    if (!created) {
        std::free(job.pixels);
        setLastError("out of memory");
        return OutOfMemory;
    }
    *bitmap = created;
    setLastError("");
    return Ok;
}

Status GdipGetImageWidth(GpBitmap* image, UINT* width) {
    if (!image || !width) return InvalidParameter;
    *width = image->width;
    return Ok;
}

Status GdipGetImageHeight(GpBitmap* image, UINT* height) {
    if (!image || !height) return InvalidParameter;
    *height = image->height;
    return Ok;
}

Status GdipBitmapGetPixel(GpBitmap* bitmap, int x, int y, ARGB* color) {
    if (!bitmap || !color) return InvalidParameter;
    if (x < 0 || y < 0 || UINT(x) >= bitmap->width || UINT(y) >= bitmap->height)
        return InvalidParameter;
    *color = bitmap->pixels[std::size_t(y) * bitmap->width + UINT(x)];
    return Ok;
}

Status GdipDisposeImage(GpBitmap* image) {
    if (!image) return InvalidParameter;
    std::free(image->pixels);
    delete image;
    return Ok;
}

const char* GdipLastDecodeError() { return lastDecodeError; }

}  // namespace Gdiplus
