#include "platform/linux/cp932.h"

#include <iconv.h>

#include <array>

namespace cp932 {
namespace {

// glibc's "CP932" is the Windows table: 0x5C stays a backslash (its
// "SHIFT_JIS" makes it a yen sign) and the NEC and IBM extensions decode.
iconv_t converter() {
    static const iconv_t cd = iconv_open("UTF-32LE", "CP932");
    return cd;
}

char32_t convert(unsigned code) {
    const iconv_t cd = converter();
    if (cd == reinterpret_cast<iconv_t>(-1)) return code < 0x80 ? code : 0;
    char in[2];
    std::size_t inLeft = 0;
    if (code >= 0x100) in[inLeft++] = static_cast<char>(code >> 8);
    in[inLeft++] = static_cast<char>(code & 0xFF);
    unsigned char out[8];
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0 ||
        outLeft != sizeof out - 4)
        return 0;
    return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<std::uint32_t>(out[3]) << 24);
}

constexpr char32_t kNotYet = 0xFFFFFFFF;

}  // namespace

char32_t toUnicode(unsigned code) {
    static std::array<char32_t, kCodeSlots> table = [] {
        std::array<char32_t, kCodeSlots> t;
        t.fill(kNotYet);
        return t;
    }();
    if (code > 0xFFFF || (code >= 0x100 && !isLeadByte(static_cast<std::uint8_t>(code >> 8)))) return 0;
    char32_t& slot = table[slotOf(code)];
    if (slot == kNotYet) slot = convert(code);
    return slot;
}

std::string toUtf8(const char* text, std::size_t length) {
    std::string out;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
    for (std::size_t i = 0; i < length;) {
        unsigned code = bytes[i++];
        if (isLeadByte(static_cast<std::uint8_t>(code)) && i < length) code = code << 8 | bytes[i++];
        const char32_t c = toUnicode(code);
        if (c == 0) continue;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

}  // namespace cp932
