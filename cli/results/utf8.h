// UTF-8 decoding for text that comes from outside: labels given on the
// command line, and text read from results files and stores.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The code point that starts at `at` and its length in bytes; length 0
// when the bytes there are not valid UTF-8 (a stray continuation byte, a
// sequence cut short, an overlong form, a surrogate, or beyond U+10FFFF).
struct Utf8Decoded {
    std::uint32_t codePoint = 0;
    std::size_t length = 0;
};
Utf8Decoded decodeUtf8(std::string_view text, std::size_t at);

// A byte that continues a sequence rather than starting a character.
inline bool isUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u; }
