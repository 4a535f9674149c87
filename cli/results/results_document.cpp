#include "cli/results/results_document.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "cli/results/bounded_json.h"
#include "cli/results/run_label.h"
#include "cli/results/run_uuid.h"
#include "cli/results/utf8.h"
#include "cli/run/benchmark_version.h"
#include "cli/run/settling.h"
#include "cli/run/statistics.h"
#include "cli/run/thread_counts.h"
#include "cli/run/thread_figures.h"
#include "stages/result_screen.h"

namespace {

using Json = ResultsDocument;

Json range(const Summary& s) { return Json{{"median", s.median}, {"min", s.min}, {"max", s.max}}; }

Json frameTimes(const std::vector<FrameTiming>& frames) {
    if (frames.empty()) return nullptr;
    std::vector<double> total, present, draw;
    for (const FrameTiming& f : frames) {
        total.push_back(static_cast<double>(f.totalNs) / 1e6);
        present.push_back(static_cast<double>(f.presentNs) / 1e6);
        draw.push_back(static_cast<double>(f.totalNs - f.presentNs) / 1e6);
    }
    return Json{{"frames", frames.size()},
                {"median", percentile(total, 50)},
                {"p99", percentile(total, 99)},
                {"draw_median", percentile(draw, 50)},
                {"draw_p99", percentile(draw, 99)},
                {"present_median", percentile(present, 50)},
                {"present_p99", percentile(present, 99)}};
}

Json systemObject(const SystemInfo& info) {
    Json j;
    j["cpu"] = info.cpu;
    j["architecture"] = info.architecture;
    j["reference_cpu"] = std::string(referenceProcessor);
    j["cores"] = info.cores;
    j["memory_bytes"] = info.memoryBytes > 0 ? Json(info.memoryBytes) : Json();
    j["kernel"] = info.kernel;
    j["transparent_hugepages"] = textOrNull(info.transparentHugePages);
    j["cpu_governor"] = textOrNull(info.governor);
    j["load_average"] = info.loadAverage >= 0.0 ? Json(info.loadAverage) : Json();
    j["video_driver"] = textOrNull(info.video.driver);
    j["surface_presented_directly"] = info.video.presentedDirectly;
    if (info.video.displayWidth > 0)
        j["display"] = Json{{"width", info.video.displayWidth},
                            {"height", info.video.displayHeight},
                            {"refresh_hz", info.video.refreshHz > 0 ? Json(info.video.refreshHz) : Json()},
                            {"name", textOrNull(info.video.displayName)},
                            {"pixel_format", textOrNull(info.video.pixelFormat)}};
    else
        j["display"] = nullptr;
    return j;
}

// How the number of passes was chosen; for --repeat auto also the figures
// that had not settled when the passes ran out.
Json repeatRuleObject(const RepeatRule& rule, const RunResults& results) {
    if (!rule.automatic) return Json{{"rule", "fixed"}};
    Json unsettled = Json::array();
    for (const MeasuredFigure& f : unsettledFigures(results, rule.settlePercent))
        unsettled.push_back(Json{{"id", figure(f.index).id}, {"threads", f.threads}});
    return Json{{"rule", "auto"},
                {"settle_percent", rule.settlePercent},
                {"min_repeat", kMinAutoRepeat},
                {"max_repeat", rule.maxRepeat},
                {"unsettled", unsettled}};
}

bool fail(std::string& reason, const std::string& text) {
    reason = text;
    return false;
}

// A whole number within [low, high] (high >= 0), else nothing: a file may
// hold anything, and 4294967299 must not pass for 3.
std::optional<long long> wholeNumberIn(const Json& value, long long low, long long high) {
    if (value.is_number_unsigned()) {
        const std::uint64_t n = value.get<std::uint64_t>();
        if (n > static_cast<std::uint64_t>(high)) return std::nullopt;
        return static_cast<long long>(n) >= low ? std::optional<long long>(static_cast<long long>(n)) : std::nullopt;
    }
    if (value.is_number_integer()) {
        const std::int64_t n = value.get<std::int64_t>();
        return n >= low && n <= high ? std::optional<long long>(n) : std::nullopt;
    }
    return std::nullopt;
}

// The member `key` as a whole number in [low, high], or `fallback` when it
// is missing or anything else.
int wholeNumberOr(const Json& object, const char* key, int low, int high, int fallback) {
    const auto it = object.find(key);
    if (it == object.end()) return fallback;
    return static_cast<int>(wholeNumberIn(*it, low, high).value_or(fallback));
}

std::string textOr(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : "";
}

// One figure's entry from its samples, the best run of each pass and, for
// Stages 1-6, the frame times; `threads` did the work together.
Json figureEntry(int i, int threads, const std::vector<double>& samples, const std::vector<double>& kernelSeconds,
                 const std::vector<FrameTiming>* frames) {
    const Figure& f = figure(i);
    const Summary s = summarize(samples);
    Json r;
    r["id"] = f.id;
    r["stage"] = f.stage;
    r["threads"] = threads;
    r["label"] = figureLabel(i);
    r["unit"] = figureUnit(i);
    r["higher_is_better"] = higherIsBetter(f.kind);
    r["samples"] = samples;
    putMedianAndRange(r, s);
    r["reference"] = Json{{"value", figureReference(i)}, {"ratio", s.median / figureReference(i)}};

    if (f.kind == FigureKind::FrameRate) {
        r["frame_time_ms"] = frameTimes(*frames);
    } else if (f.kind == FigureKind::Memory) {
        std::vector<double> gbps;
        for (const double v : samples) gbps.push_back(memoryBytesPerSecond(v) / 1e9);
        r["bandwidth_gb_per_s"] = range(summarize(gbps));
    } else {
        // The figure counts whole milliseconds; the nanosecond clock gives
        // the same rate without that rounding.
        std::vector<double> ops;
        for (const double seconds : kernelSeconds)
            if (seconds > 0.0) ops.push_back(threads * 100000000.0 / seconds);
        r["precise_ops_per_s"] = ops.size() == kernelSeconds.size() && !ops.empty() ? range(summarize(ops)) : Json();
    }
    if (f.kind != FigureKind::FrameRate) {
        Json seconds = Json::array();
        for (const double v : kernelSeconds) seconds.push_back(v > 0.0 ? Json(v) : Json());
        r["best_run_seconds"] = seconds;
    }
    return r;
}

// What a document of version 4 says about its run beyond the figures: its
// id, label, start, command line, and whether it ran in a window.  A
// malformed id or label refuses the document.
bool readRunFacts(const Json& doc, SavedRun& out, std::string& reason) {
    if (const auto uuid = doc.find("run_uuid"); uuid != doc.end() && !uuid->is_null()) {
        if (!uuid->is_string() || !isRunUuid(uuid->get<std::string>()))
            return fail(reason, "its run_uuid is not a UUID");
        for (const char c : uuid->get<std::string>()) out.uuid += c >= 'A' && c <= 'F' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    if (const auto label = doc.find("label"); label != doc.end() && !label->is_null()) {
        const std::string problem = label->is_string() ? labelProblem(label->get<std::string>()) : "it is not text";
        if (!problem.empty()) return fail(reason, "its label cannot name a run: " + problem);
        out.label = label->get<std::string>();
    }
    out.startedAt = textOr(doc, "started_at");
    if (const auto commandLine = doc.find("command_line"); commandLine != doc.end() && commandLine->is_array())
        for (const Json& a : *commandLine)
            if (a.is_string()) out.commandLine.push_back(a.get<std::string>());
    if (const auto config = doc.find("config"); config != doc.end() && config->is_object())
        if (const auto window = config->find("window"); window != config->end() && window->is_boolean())
            out.window = window->get<bool>();
    return true;
}

}  // namespace

ResultsDocument textOrNull(const std::string& text) { return text.empty() ? ResultsDocument() : ResultsDocument(text); }

void putMedianAndRange(ResultsDocument& result, const Summary& s) {
    result["median"] = s.median;
    result["min"] = s.min;
    result["max"] = s.max;
    if (s.hasInterval)
        result["median_interval"] =
            Json{{"method", "order-statistic"}, {"low", s.low}, {"high", s.high}, {"coverage", s.coverage}};
    else
        result["median_interval"] = nullptr;
}

ResultsDocument figureResult(const RunResults& results, int i) {
    const Figure& f = figure(i);
    const std::vector<FrameTiming>* frames = f.kind == FigureKind::FrameRate ? &results.frames[f.stage - 1] : nullptr;
    return figureEntry(i, 1, results.samples[i], results.kernelSeconds[i], frames);
}

ResultsDocument threadedFigureResult(const ThreadedResults& results, int i) {
    Json r = figureEntry(i, results.threads, results.samples[i], results.kernelSeconds[i], nullptr);
    r["cpus"] = results.cpus;
    r["per_thread"] = perThreadMedians(results, i);
    r["thread_spread_percent"] = spreadMedian(results, i);
    return r;
}

ResultsDocument resultsDocument(const RunResults& results, const RunConfig& config, const SystemInfo& system,
                                const std::vector<std::string>& warnings, const RunFacts& facts) {
    Json doc;
    doc["schema_version"] = kSchemaVersion;
    doc["generator"] = "pelorin-cli";
    doc["run_uuid"] = textOrNull(newRunUuid());
    doc["benchmark_version"] = benchmarkVersion();
    doc["label"] = textOrNull(facts.label);
    doc["started_at"] = textOrNull(facts.startedAt);
    doc["command_line"] = facts.commandLine;
    doc["system"] = systemObject(system);
    doc["config"] = Json{{"stages", config.stages},
                         {"time_s", config.timeSeconds},
                         {"repeat", config.repeatRule.automatic ? results.passes : config.repeat},
                         {"repeat_rule", repeatRuleObject(config.repeatRule, results)},
                         {"threads", config.threads},
                         {"passes_completed", results.passes},
                         {"window", config.window}};
    Json list = Json::array();
    for (int i = 0; i < kFigureTotal; ++i)
        if (!results.samples[i].empty()) list.push_back(figureResult(results, i));
    for (const ThreadedResults& r : results.threaded)
        for (int i = 0; i < kFigureTotal; ++i)
            if (!r.samples[i].empty()) list.push_back(threadedFigureResult(r, i));
    doc["results"] = list;
    doc["warnings"] = warnings;
    return doc;
}

std::string documentText(const ResultsDocument& document) {
    // Text that is not UTF-8 can come only from this machine's own
    // description here: a stored run is refused before (see exportRun).
    std::string json = document.dump(-1, ' ', false, ResultsDocument::error_handler_t::replace);
    // The library escapes only what JSON must (below U+0020); the other
    // controls are DEL and characters beyond ASCII, which occur only inside
    // strings, where an escape means the same.
    const auto beyondAscii = [](char c) { return static_cast<unsigned char>(c) >= 0x7F; };
    std::size_t at = static_cast<std::size_t>(std::find_if(json.begin(), json.end(), beyondAscii) - json.begin());
    if (at == json.size()) return json += '\n';
    std::string text(json, 0, at);
    while (at < json.size()) {
        const Utf8Decoded d = decodeUtf8(json, at);
        const std::size_t length = d.length > 0 ? d.length : 1;
        if (d.length > 0 && isTerminalControl(d.codePoint)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(d.codePoint));
            text += escape;
        } else {
            text.append(json, at, length);
        }
        at += length;
        const auto next = std::find_if(json.begin() + static_cast<std::ptrdiff_t>(at), json.end(), beyondAscii);
        const std::size_t plain = static_cast<std::size_t>(next - json.begin());
        text.append(json, at, plain - at);
        at = plain;
    }
    return text += '\n';
}

bool parseDocument(const std::string& text, ResultsDocument& out, std::string& error) {
    return parseBoundedJson(text, out, error);
}

std::vector<std::pair<std::string, std::string>> systemFacts(const ResultsDocument& system) {
    std::vector<std::pair<std::string, std::string>> facts;
    for (const auto& [name, value] : system.items()) {
        std::string text;
        if (value.is_null()) {
            text = "unknown";
        } else if (value.is_string()) {
            text = value.get<std::string>();
        } else if (value.is_object()) {
            for (const auto& [key, part] : value.items())
                text += (text.empty() ? "" : ", ") + key + " " + (part.is_null() ? "unknown" : part.dump());
        } else {
            text = value.dump();
        }
        facts.emplace_back(name, text);
    }
    return facts;
}

namespace {

// One result of a document as a figure; false with `reason` set when it is
// not one.  With samples, the median and its interval are worked out from
// them, and a median that does not match them is refused.
bool readFigure(const Json& r, SavedFigure& f, std::string& reason) {
    if (!r.is_object() || !r.contains("id") || !r["id"].is_string() || !r.contains("median") ||
        !r["median"].is_number())
        return fail(reason, "a result lacks its id or median");
    f.id = r["id"].get<std::string>();
    f.median = r["median"].get<double>();
    f.stage = wholeNumberOr(r, "stage", 1, 8, 0);
    f.threads = wholeNumberOr(r, "threads", 1, kMaxThreads, 1);
    f.label = textOr(r, "label");
    f.unit = textOr(r, "unit");
    if (const auto reference = r.find("reference"); reference != r.end() && reference->is_object()) {
        const auto value = reference->find("value");
        if (value != reference->end() && value->is_number()) f.reference = value->get<double>();
    }
    if (const auto samples = r.find("samples"); samples != r.end() && !samples->is_null()) {
        if (!samples->is_array()) return fail(reason, "result '" + f.id + "' has samples that are not a list");
        if (samples->size() > kMaxSamplesPerFigure)
            return fail(reason, "result '" + f.id + "' has more than " + std::to_string(kMaxSamplesPerFigure) +
                                    " samples");
        std::vector<double> values;
        values.reserve(samples->size());
        for (const Json& s : *samples) {
            if (!s.is_number()) return fail(reason, "result '" + f.id + "' has a sample that is not a number");
            values.push_back(s.get<double>());
        }
        const double median = f.median;
        setSamples(f, std::move(values));
        if (!f.samples.empty() && f.median != median)
            return fail(reason, "the median of result '" + f.id + "' does not match its samples");
        if (!f.samples.empty()) return true;
        f.median = median;
    }
    if (const auto interval = r.find("median_interval"); interval != r.end() && interval->is_object()) {
        const auto low = interval->find("low");
        const auto high = interval->find("high");
        const auto coverage = interval->find("coverage");
        if (low != interval->end() && high != interval->end() && low->is_number() && high->is_number()) {
            f.hasInterval = true;
            f.low = low->get<double>();
            f.high = high->get<double>();
            f.coverage = coverage != interval->end() && coverage->is_number() ? coverage->get<double>() : 0.0;
        }
    }
    return true;
}

}  // namespace

bool readSavedRun(const ResultsDocument& doc, SavedRun& out, std::string& reason) {
    if (!doc.is_object()) return fail(reason, "the document is not a JSON object");
    if (textOr(doc, "generator") != "pelorin-cli")
        return fail(reason, "it was not written by pelorin-cli (no \"generator\": \"pelorin-cli\")");
    const auto version = doc.find("schema_version");
    if (version == doc.end() || !wholeNumberIn(*version, kOldestReadableSchemaVersion, kSchemaVersion))
        return fail(reason, "its schema_version is not one this pelorin-cli reads (" +
                                std::to_string(kOldestReadableSchemaVersion) + " to " +
                                std::to_string(kSchemaVersion) + ")");
    const auto results = doc.find("results");
    if (results == doc.end() || !results->is_array()) return fail(reason, "it has no results list");
    if (results->size() > kMaxFiguresPerRun)
        return fail(reason, "it holds more than " + std::to_string(kMaxFiguresPerRun) + " results");
    out = SavedRun{};
    out.benchmarkVersion = textOr(doc, "benchmark_version");
    if (!readRunFacts(doc, out, reason)) return false;
    if (const auto system = doc.find("system"); system != doc.end() && system->is_object()) {
        out.cpu = textOr(*system, "cpu");
        out.architecture = textOr(*system, "architecture");
        out.system = systemFacts(*system);
    }
    if (const auto warnings = doc.find("warnings"); warnings != doc.end() && warnings->is_array())
        for (const Json& w : *warnings)
            if (w.is_string()) out.warnings.push_back(w.get<std::string>());
    for (const Json& r : *results) {
        SavedFigure f;
        if (!readFigure(r, f, reason)) return false;
        out.figures.push_back(std::move(f));
    }
    reason = runProblem(out);
    return reason.empty();
}
