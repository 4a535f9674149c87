#include "cli/report/safe_text.h"

#include <cstdint>
#include <cstdio>

#include "cli/results/utf8.h"

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

std::string escapeOf(std::uint32_t cp) {
    char text[16];
    if (cp < 0x80)
        std::snprintf(text, sizeof text, "\\x%02x", static_cast<unsigned>(cp));
    else
        std::snprintf(text, sizeof text, "\\u%04x", static_cast<unsigned>(cp));
    return text;
}

}  // namespace

std::string terminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Decoded d = decodeUtf8(text, at);
        if (d.length == 0) {
            out += kReplacement;
            ++at;
            continue;
        }
        if (isTerminalControl(d.codePoint))
            out += escapeOf(d.codePoint);
        else
            out.append(text.substr(at, d.length));
        at += d.length;
    }
    return out;
}

namespace {

// The columns a terminal gives a code point: two for the wide and
// full-width characters of East Asian scripts and for emoji, none for
// combining marks and zero-width characters, one for the rest.
std::size_t columnsOf(std::uint32_t cp) {
    if ((cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x1AB0 && cp <= 0x1AFF) || (cp >= 0x1DC0 && cp <= 0x1DFF) ||
        (cp >= 0x200B && cp <= 0x200F) || (cp >= 0x20D0 && cp <= 0x20FF) || (cp >= 0xFE00 && cp <= 0xFE0F) ||
        (cp >= 0xFE20 && cp <= 0xFE2F) || cp == 0xFEFF)
        return 0;
    if ((cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0x303E) || (cp >= 0x3041 && cp <= 0x33FF) ||
        (cp >= 0x3400 && cp <= 0x4DBF) || (cp >= 0x4E00 && cp <= 0x9FFF) || (cp >= 0xA000 && cp <= 0xA4CF) ||
        (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFE30 && cp <= 0xFE4F) ||
        (cp >= 0xFF00 && cp <= 0xFF60) || (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x1F300 && cp <= 0x1F64F) ||
        (cp >= 0x1F900 && cp <= 0x1F9FF) || (cp >= 0x20000 && cp <= 0x3FFFD))
        return 2;
    return 1;
}

constexpr std::string_view kEllipsis = "\xE2\x80\xA6";  // U+2026, one column

}  // namespace

std::size_t terminalColumns(std::string_view text) {
    std::size_t columns = 0;
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Decoded d = decodeUtf8(text, at);
        columns += d.length == 0 ? 1 : columnsOf(d.codePoint);
        at += d.length == 0 ? 1 : d.length;
    }
    return columns;
}

std::string cutText(std::string_view text, std::size_t width) {
    if (terminalColumns(text) <= width) return std::string(text);
    if (width == 0) return "";
    // Whole characters up to width - 1 columns, then the ellipsis.
    std::size_t at = 0, columns = 0;
    while (at < text.size()) {
        const Utf8Decoded d = decodeUtf8(text, at);
        const std::size_t w = d.length == 0 ? 1 : columnsOf(d.codePoint);
        if (columns + w > width - 1) break;
        columns += w;
        at += d.length == 0 ? 1 : d.length;
    }
    return std::string(text.substr(0, at)) + std::string(kEllipsis);
}

std::string fittedText(std::string_view text, std::size_t width) {
    std::string cut = cutText(text, width);
    const std::size_t columns = terminalColumns(cut);
    if (columns < width) cut.append(width - columns, ' ');
    return cut;
}

std::string csvText(std::string_view text) {
    std::string field;
    field.reserve(text.size() + 1);
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) field += '\'';
    field.append(text);
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string quoted = "\"";
    for (const char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string markdownText(std::string_view text) {
    std::string out;
    for (const char c : terminalText(text)) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '\\': case '|': case '*': case '_': case '`': case '[': case ']': case '~':
                out += '\\';
                out += c;
                break;
            default: out += c;
        }
    }
    return out;
}

std::string htmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}
