#include "cli/results/run_label.h"

#include "cli/results/utf8.h"

std::string labelProblem(const std::string& label) {
    if (label.empty()) return "a label needs some text";
    if (label.size() > kMaxLabelBytes)
        return "a label may be at most " + std::to_string(kMaxLabelBytes) + " bytes long";
    for (std::size_t at = 0; at < label.size();) {
        const Utf8Decoded d = decodeUtf8(label, at);
        if (d.length == 0) return "a label must be UTF-8 text";
        at += d.length;
        const std::uint32_t point = d.codePoint;
        // C0, DEL and C1: what a terminal would take as a command.
        if (point < 0x20 || (point >= 0x7F && point <= 0x9F)) return "a label may not hold control characters";
    }
    return "";
}
