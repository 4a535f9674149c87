// Code page 932 text as the ANSI calls receive it: one byte a character, or
// two when the first is a lead byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace cp932 {

inline bool isLeadByte(std::uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// A character code is the byte itself, or lead << 8 | trail.  Every code
// has its own slot in [0, kCodeSlots), so per-code tables can be plain arrays.
constexpr int kCodeSlots = 256 + 60 * 256;

inline int slotOf(unsigned code) {
    if (code < 0x100) return static_cast<int>(code);
    const unsigned lead = code >> 8;
    const unsigned trail = code & 0xFF;
    const unsigned leadIndex = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
    return static_cast<int>(256 + leadIndex * 256 + trail);
}

// The Unicode scalar of one character code, or 0 when the code stands for
// no character.  Each code is converted once; later calls read a table.
char32_t toUnicode(unsigned code);

// The whole byte string as UTF-8; undecodable characters are dropped.
std::string toUtf8(const char* text, std::size_t length);

}  // namespace cp932
