#include "cli/results_json.h"

#include "cli/statistics.h"
#include "stages/result_screen.h"

namespace {

Json range(const Summary& s) {
    Json j = Json::object();
    j.set("median", Json::of(s.median));
    j.set("min", Json::of(s.min));
    j.set("max", Json::of(s.max));
    return j;
}

Json numbers(const std::vector<double>& values) {
    Json a = Json::array();
    for (const double v : values) a.add(Json::of(v));
    return a;
}

Json frameTimes(const std::vector<FrameTiming>& frames) {
    if (frames.empty()) return Json::null();
    std::vector<double> total, present, draw;
    for (const FrameTiming& f : frames) {
        total.push_back(static_cast<double>(f.totalNs) / 1e6);
        present.push_back(static_cast<double>(f.presentNs) / 1e6);
        draw.push_back(static_cast<double>(f.totalNs - f.presentNs) / 1e6);
    }
    Json j = Json::object();
    j.set("frames", Json::of(static_cast<double>(frames.size())));
    j.set("median", Json::of(percentile(total, 50)));
    j.set("p99", Json::of(percentile(total, 99)));
    j.set("draw_median", Json::of(percentile(draw, 50)));
    j.set("draw_p99", Json::of(percentile(draw, 99)));
    j.set("present_median", Json::of(percentile(present, 50)));
    j.set("present_p99", Json::of(percentile(present, 99)));
    return j;
}

Json figureResult(const RunResults& results, int i) {
    const Figure& f = figure(i);
    const Summary s = summarize(results.samples[i]);
    Json r = Json::object();
    r.set("id", Json::of(f.id));
    r.set("stage", Json::of(f.stage));
    r.set("label", Json::of(figureLabel(i)));
    r.set("unit", Json::of(figureUnit(i)));
    r.set("higher_is_better", Json::of(true));
    r.set("samples", numbers(results.samples[i]));
    r.set("median", Json::of(s.median));
    r.set("min", Json::of(s.min));
    r.set("max", Json::of(s.max));
    if (s.hasInterval) {
        Json interval = Json::object();
        interval.set("method", Json::of("order-statistic"));
        interval.set("low", Json::of(s.low));
        interval.set("high", Json::of(s.high));
        interval.set("coverage", Json::of(s.coverage));
        r.set("median_interval", interval);
    } else {
        r.set("median_interval", Json::null());
    }
    Json reference = Json::object();
    reference.set("value", Json::of(figureReference(i)));
    reference.set("ratio", Json::of(s.median / figureReference(i)));
    r.set("reference", reference);

    if (f.kind == FigureKind::FrameRate) {
        r.set("frame_time_ms", frameTimes(results.frames[f.stage - 1]));
    } else if (f.kind == FigureKind::Memory) {
        std::vector<double> gbps;
        for (const double v : results.samples[i]) gbps.push_back(memoryBytesPerSecond(v) / 1e9);
        r.set("bandwidth_gb_per_s", range(summarize(gbps)));
    } else {
        // The figure counts whole milliseconds; the nanosecond clock gives
        // the same rate without that rounding.
        std::vector<double> ops;
        for (const double seconds : results.kernelSeconds[i])
            if (seconds > 0.0) ops.push_back(100000000.0 / seconds);
        r.set("precise_ops_per_s", ops.size() == results.kernelSeconds[i].size() && !ops.empty()
                                       ? range(summarize(ops))
                                       : Json::null());
    }
    if (f.kind != FigureKind::FrameRate) {
        Json seconds = Json::array();
        for (const double v : results.kernelSeconds[i]) seconds.add(v > 0.0 ? Json::of(v) : Json::null());
        r.set("best_run_seconds", seconds);
    }
    return r;
}

Json systemObject(const SystemInfo& info) {
    auto textOrNull = [](const std::string& s) { return s.empty() ? Json::null() : Json::of(s); };
    Json j = Json::object();
    j.set("cpu", Json::of(info.cpu));
    j.set("reference_cpu", Json::of(referenceProcessor));
    j.set("cores", Json::of(info.cores));
    j.set("memory_bytes", info.memoryBytes > 0 ? Json::of(static_cast<double>(info.memoryBytes)) : Json::null());
    j.set("kernel", Json::of(info.kernel));
    j.set("transparent_hugepages", textOrNull(info.transparentHugePages));
    j.set("cpu_governor", textOrNull(info.governor));
    j.set("load_average", info.loadAverage >= 0.0 ? Json::of(info.loadAverage) : Json::null());
    j.set("video_driver", textOrNull(info.video.driver));
    j.set("surface_presented_directly", Json::of(info.video.presentedDirectly));
    if (info.video.displayWidth > 0) {
        Json d = Json::object();
        d.set("width", Json::of(info.video.displayWidth));
        d.set("height", Json::of(info.video.displayHeight));
        d.set("refresh_hz", info.video.refreshHz > 0 ? Json::of(info.video.refreshHz) : Json::null());
        j.set("display", d);
    } else {
        j.set("display", Json::null());
    }
    return j;
}

bool fail(std::string& reason, const std::string& text) {
    reason = text;
    return false;
}

}  // namespace

Json resultsDocument(const RunResults& results, const Options& options, const SystemInfo& system,
                     const std::vector<std::string>& warnings) {
    Json doc = Json::object();
    doc.set("schema_version", Json::of(kSchemaVersion));
    doc.set("generator", Json::of("pelorin-cli"));
    doc.set("system", systemObject(system));

    Json config = Json::object();
    Json stages = Json::array();
    for (const int s : options.stages) stages.add(Json::of(s));
    config.set("stages", stages);
    config.set("time_s", Json::of(options.timeSeconds));
    config.set("repeat", Json::of(options.repeat));
    config.set("passes_completed", Json::of(results.passes));
    config.set("window", Json::of(options.window));
    doc.set("config", config);

    Json list = Json::array();
    for (int i = 0; i < kFigureTotal; ++i)
        if (!results.samples[i].empty()) list.add(figureResult(results, i));
    doc.set("results", list);

    Json w = Json::array();
    for (const std::string& text : warnings) w.add(Json::of(text));
    doc.set("warnings", w);
    return doc;
}

const SavedFigure* SavedRun::find(const std::string& id) const {
    for (const SavedFigure& f : figures)
        if (f.id == id) return &f;
    return nullptr;
}

bool readSavedRun(const Json& doc, SavedRun& out, std::string& reason) {
    if (!doc.isObject()) return fail(reason, "the document is not a JSON object");
    const Json* generator = doc.find("generator");
    const Json* version = doc.find("schema_version");
    if (generator == nullptr || !generator->isString() || generator->text != "pelorin-cli")
        return fail(reason, "it was not written by pelorin-cli (no \"generator\": \"pelorin-cli\")");
    if (version == nullptr || !version->isNumber() || version->number != kSchemaVersion)
        return fail(reason, "its schema_version is not " + std::to_string(kSchemaVersion));
    const Json* results = doc.find("results");
    if (results == nullptr || !results->isArray()) return fail(reason, "it has no results list");
    out = SavedRun{};
    if (const Json* system = doc.find("system"))
        if (const Json* cpu = system->find("cpu"); cpu && cpu->isString()) out.cpu = cpu->text;
    for (const Json& r : results->items) {
        const Json* id = r.find("id");
        const Json* median = r.find("median");
        if (id == nullptr || !id->isString() || median == nullptr || !median->isNumber())
            return fail(reason, "a result lacks its id or median");
        SavedFigure f;
        f.id = id->text;
        f.median = median->number;
        if (const Json* label = r.find("label"); label && label->isString()) f.label = label->text;
        if (const Json* unit = r.find("unit"); unit && unit->isString()) f.unit = unit->text;
        if (const Json* interval = r.find("median_interval"); interval && interval->isObject()) {
            const Json* low = interval->find("low");
            const Json* high = interval->find("high");
            if (low && high && low->isNumber() && high->isNumber()) {
                f.hasInterval = true;
                f.low = low->number;
                f.high = high->number;
            }
        }
        out.figures.push_back(std::move(f));
    }
    return true;
}
