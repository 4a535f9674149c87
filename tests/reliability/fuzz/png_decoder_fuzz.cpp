// libFuzzer entry for the image-loading path: whatever bytes arrive are
// written to a file and loaded the way the program loads its pictures.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "render/picture.h"

namespace {

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::uint32_t big32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// A mutation almost always breaks a chunk's CRC, and the decoder then stops
// at that chunk; with the CRCs made right again the mutated contents reach
// the code behind the check.  Returns whether anything changed.
bool repairChunkCrcs(std::vector<std::uint8_t>& bytes) {
    bool changed = false;
    std::size_t at = 8;
    while (at + 12 <= bytes.size()) {
        const std::uint32_t length = big32(&bytes[at]);
        if (length > bytes.size() - at - 12) break;
        const std::size_t crcAt = at + 8 + length;
        const std::uint32_t crc = crc32(&bytes[at + 4], 4 + std::size_t(length));
        if (big32(&bytes[crcAt]) != crc) {
            for (int i = 0; i < 4; ++i) bytes[crcAt + std::size_t(i)] = std::uint8_t(crc >> (24 - 8 * i));
            changed = true;
        }
        at = crcAt + 4;
    }
    return changed;
}

const std::string& inputPath() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir && *dir ? dir : "/tmp") + "/pelorin-fuzz-" + std::to_string(getpid()) + ".png";
    }();
    return path;
}

void loadOnce(const std::uint8_t* data, std::size_t size) {
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
    if (sum == 0x12345678u) std::fputc('\0', stderr);  // keeps the reads
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    loadOnce(data, size);
    std::vector<std::uint8_t> repaired(data, data + size);
    if (repairChunkCrcs(repaired)) loadOnce(repaired.data(), repaired.size());
    return 0;
}
