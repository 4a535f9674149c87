#include "cli/results/run_label.h"

namespace {

// The code point of the UTF-8 sequence at `at`, moving `at` past it; -1 for
// a sequence that is not valid UTF-8 (overlong, surrogate, cut short).
long nextCodePoint(const std::string& text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    unsigned long point = 0, lowest = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, point = lead & 0x1Fu, lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, point = lead & 0x0Fu, lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, point = lead & 0x07u, lowest = 0x10000;
    } else {
        return -1;
    }
    if (text.size() - at < length) return -1;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0u) != 0x80u) return -1;
        point = (point << 6) | (byte(at + i) & 0x3Fu);
    }
    if (point < lowest || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return -1;
    at += length;
    return static_cast<long>(point);
}

}  // namespace

std::string labelProblem(const std::string& label) {
    if (label.empty()) return "a label needs some text";
    if (label.size() > kMaxLabelBytes)
        return "a label may be at most " + std::to_string(kMaxLabelBytes) + " bytes long";
    for (std::size_t at = 0; at < label.size();) {
        const long point = nextCodePoint(label, at);
        if (point < 0) return "a label must be UTF-8 text";
        // C0, DEL and C1: what a terminal would take as a command.
        if (point < 0x20 || (point >= 0x7F && point <= 0x9F)) return "a label may not hold control characters";
    }
    return "";
}
