#include "cli/results/run_label.h"

#include <cstdio>

#include "cli/results/utf8.h"

std::string labelProblem(const std::string& label) {
    if (label.empty()) return "a label needs some text";
    if (label.size() > kMaxLabelBytes)
        return "a label may be at most " + std::to_string(kMaxLabelBytes) + " bytes long";
    for (std::size_t at = 0; at < label.size();) {
        const Utf8Decoded d = decodeUtf8(label, at);
        if (d.length == 0) return "a label must be UTF-8 text";
        at += d.length;
        if (isTerminalControl(d.codePoint)) {
            char point[16];
            std::snprintf(point, sizeof point, "U+%04X", static_cast<unsigned>(d.codePoint));
            return std::string("a label may not hold control characters (it holds ") + point + ")";
        }
    }
    return "";
}
