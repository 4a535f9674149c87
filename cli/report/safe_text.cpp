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

}  // namespace

std::string fittedText(std::string_view text, std::size_t width) {
    std::size_t count = 0;
    for (const char c : text) count += isUtf8Continuation(c) ? 0 : 1;
    if (count <= width) return std::string(text) + std::string(width - count, ' ');
    // Keep width - 3 characters: cut before the first byte of the next one.
    const std::size_t keep = width < 3 ? 0 : width - 3;
    std::size_t cut = 0, kept = 0;
    for (; cut < text.size(); ++cut) {
        if (isUtf8Continuation(text[cut])) continue;
        if (kept == keep) break;
        ++kept;
    }
    return std::string(text.substr(0, cut)) + "...";
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
