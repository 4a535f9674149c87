// libFuzzer entry for the image-loading path: whatever bytes arrive are
// written to a file and loaded the way the program loads its pictures.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "render/picture.h"

namespace {

const std::string& inputPath() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/pelorin-fuzz-" + std::to_string(getpid()) + ".png";
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = inputPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) std::abort();
    if (size && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);

    std::uint32_t* block = load_PNG(path.c_str());
    // Whatever the bytes, a block comes back, sized as reported; reading all
    // of it lets the address checker see any size that does not match.
    if (block == nullptr) std::abort();
    if (pngW < 0 || pngH < 0 || (pngW == 0) != (pngH == 0)) std::abort();
    if (pngW > 16384 || pngH > 16384) std::abort();
    std::uint32_t sum = 0;
    const std::size_t words = std::size_t(pngW) * std::size_t(pngH);
    for (std::size_t i = 0; i < words; ++i) sum += block[i];
    if ((pngW == 0) != (pngError[0] != '\0')) std::abort();
    std::free(block);
    return static_cast<int>(sum & 0);
}
