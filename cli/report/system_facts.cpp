#include "cli/report/system_facts.h"

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "cli/report/text_join.h"

namespace {

struct Heading {
    const char* name;
    const char* heading;
};
constexpr Heading kHeadings[] = {
    {"cpu", "Processor"},
    {"architecture", "Architecture"},
    {"reference_cpu", "Reference processor (100%)"},
    {"cores", "Logical processors"},
    {"memory_bytes", "Memory"},
    {"kernel", "Kernel"},
    {"transparent_hugepages", "Transparent huge pages"},
    {"cpu_governor", "Frequency governor"},
    {"load_average", "Load average (1 min)"},
    {"video_driver", "Video driver"},
    {"surface_presented_directly", "Presented without a GPU texture"},
    {"display", "Display"},
};

bool plainDigits(const std::string& text) {
    return !text.empty() && text.size() <= 18 && text.find_first_not_of("0123456789") == std::string::npos;
}

// One "key value" part of an object as the results reader prints it
// ("width 1920, height 1080, refresh_hz 60, name \"DP-1\", ..."), starting
// at `at`: the value as text (a JSON string decoded), and `at` moved past
// it and the ", " after it.  False when the text there is not that key.
bool takePart(const std::string& text, std::size_t& at, const char* key, std::string& value) {
    const std::string prefix = concat({key, " "});
    if (text.compare(at, prefix.size(), prefix) != 0) return false;
    std::size_t end = at + prefix.size();
    if (end < text.size() && text[end] == '"') {
        // To the closing quote that no backslash escapes.
        for (++end; end < text.size() && text[end] != '"'; ++end)
            if (text[end] == '\\') ++end;
        if (end >= text.size()) return false;
        ++end;
        const nlohmann::json decoded = nlohmann::json::parse(text.substr(at + prefix.size(), end - at - prefix.size()),
                                                             nullptr, false);
        if (!decoded.is_string()) return false;
        value = decoded.get<std::string>();
    } else {
        end = text.find(", ", end);
        if (end == std::string::npos) end = text.size();
        value = text.substr(at + prefix.size(), end - at - prefix.size());
    }
    at = end;
    if (text.compare(at, 2, ", ") == 0) at += 2;
    return true;
}

std::string displayText(const std::string& value) {
    std::string width, height, refresh, name, format;
    std::size_t at = 0;
    if (!takePart(value, at, "width", width) || !takePart(value, at, "height", height) ||
        !takePart(value, at, "refresh_hz", refresh) || !plainDigits(width) || !plainDigits(height))
        return value;
    std::string text = concat({width, "\xC3\x97", height});  // U+00D7 multiplication sign
    if (plainDigits(refresh)) text += concat({", ", refresh, " Hz"});
    if (at < value.size() && takePart(value, at, "name", name) && name != "unknown") text += concat({", ", name});
    if (at < value.size() && takePart(value, at, "pixel_format", format) && format != "unknown")
        text += concat({", ", format});
    return at == value.size() ? text : value;
}

}  // namespace

std::string gibText(double bytes) { return concat({formatNumber("%.1f", bytes / 1073741824.0), " GiB"}); }

std::string factHeading(const std::string& name) {
    for (const Heading& h : kHeadings)
        if (name == h.name) return h.heading;
    return name;
}

std::string shownFact(const SavedRun& run, const std::string& name, const std::string& value) {
    if (name == "display" && !run.window) return "none";
    if (value == "unknown") return value;
    if (name == "memory_bytes" && plainDigits(value)) return gibText(std::strtod(value.c_str(), nullptr));
    if (name == "load_average" && !value.empty() && value.find_first_not_of("0123456789.") == std::string::npos &&
        value.size() <= 32)
        return formatNumber("%.2f", std::strtod(value.c_str(), nullptr));
    if (name == "surface_presented_directly" && (value == "true" || value == "false"))
        return value == "true" ? "yes" : "no";
    if (name == "display") return displayText(value);
    return value;
}
