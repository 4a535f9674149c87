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

// The code points a terminal acts on or that reorder or break the lines it
// shows: C0 controls, DEL, C1 controls (U+0080-U+009F), the Arabic letter
// mark, the left-to-right and right-to-left marks, U+2028 and U+2029, the
// bidirectional embeddings and overrides (U+202A-U+202E) and isolates
// (U+2066-U+2069).  Text from outside shows them as escapes, and a label
// may not hold them.
inline bool isTerminalControl(std::uint32_t cp) {
    return cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp <= 0x9F) || cp == 0x061C || cp == 0x200E ||
           cp == 0x200F || (cp >= 0x2028 && cp <= 0x202E) || (cp >= 0x2066 && cp <= 0x2069);
}
