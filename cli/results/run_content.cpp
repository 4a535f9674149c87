#include "cli/results/run_content.h"

#include <cstdint>

namespace {

// Sorted keys, one spelling per number: the canonical form.
using CanonicalJson = nlohmann::json;

CanonicalJson canonical(const ResultsDocument& value) { return CanonicalJson::parse(value.dump()); }

}  // namespace

void fillOlderDefaults(ResultsDocument& system, ResultsDocument& config) {
    if (system.is_object() && !system.contains("architecture")) system["architecture"] = "";
    if (config.is_object() && !config.contains("threads")) config["threads"] = ResultsDocument::array({1});
    // Before version 4 a run was repeated a fixed number of times.
    if (config.is_object() && !config.contains("repeat_rule")) config["repeat_rule"] = {{"rule", "fixed"}};
}

std::string runContent(const ResultsDocument& document, const SavedRun& run) {
    ResultsDocument system = document.value("system", ResultsDocument());
    ResultsDocument config = document.value("config", ResultsDocument());
    fillOlderDefaults(system, config);
    CanonicalJson figures = CanonicalJson::array();
    for (const SavedFigure& f : run.figures)
        figures.push_back({{"id", f.id}, {"stage", f.stage}, {"threads", f.threads}, {"samples", f.samples}});
    const CanonicalJson content = {{"system", canonical(system)}, {"config", canonical(config)}, {"results", figures}};
    return content.dump();
}

std::string contentDigest(const std::string& content) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : content) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    static const char kHex[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4) text[static_cast<std::size_t>(i)] = kHex[hash & 0x0F];
    return text;
}
