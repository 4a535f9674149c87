// Writes the seed corpora of the readers' fuzz targets: results files
// (`files DIR`) and results stores (`stores DIR`, the first layout's from
// the SQL given as third argument) of every shape the readers know, with
// text in them that reports must escape.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "cli/results/results_store.h"

namespace {

// A formula, a table bar, a line break, HTML, an escape sequence, C1 CSI,
// DEL, the line separator and a right-to-left override.
const char* const kForged = "=1+2|x\n<b>\x1b[31m\xC2\x9B\x7F\xE2\x80\xA8\xE2\x80\xAE";

ResultsDocument figure(const char* id, int stage, int threads, std::vector<double> samples, double median) {
    ResultsDocument r;
    r["id"] = id;
    r["stage"] = stage;
    r["threads"] = threads;
    r["label"] = std::string("Label ") + kForged;
    r["unit"] = "MB/S";
    r["samples"] = samples;
    r["median"] = median;
    r["median_interval"] = {{"method", "order-statistic"}, {"low", samples.front()}, {"high", samples.back()},
                            {"coverage", 0.75}};
    r["reference"] = {{"value", 100.0}, {"ratio", median / 100.0}};
    r["best_run_seconds"] = {0.1, nullptr, 0.3};
    return r;
}

ResultsDocument document(int version) {
    ResultsDocument d;
    d["schema_version"] = version;
    d["generator"] = "pelorin-cli";
    d["started_at"] = "2026-12-07T09:46:42Z";
    d["command_line"] = {"pelorin-cli", kForged};
    if (version >= 4) {
        d["run_uuid"] = "0f8e4f0e-6a52-4c1e-9a8e-2b1d6f3c7a90";
        d["benchmark_version"] = std::string("1.30") + kForged;
        d["label"] = "=1+2|x <b>label</b> *"; // labels hold no control characters
    }
    d["system"] = {{"cpu", std::string("CPU ") + kForged}, {"architecture", "x86_64"}, {"cores", 4},
                   {"display", {{"width", 1280}, {"height", 720}, {"refresh_hz", nullptr}}}};
    d["config"] = {{"stages", {1, 7, 8}}, {"repeat", 3}, {"threads", {1, 2}}, {"window", version >= 4}};
    if (version >= 4) d["config"]["repeat_rule"] = {{"rule", "fixed"}};
    d["results"] = {figure("FontSpeed1", 1, 1, {1, 2, 3}, 2), figure("read1", 7, 1, {10, 20, 30}, 20),
                    figure("calc_add", 8, 2, {5, 6, 7}, 6)};
    d["warnings"] = {std::string("warning ") + kForged};
    return d;
}

void write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

bool failed(const std::string& error) {
    std::fprintf(stderr, "readers_seed_corpus: %s\n", error.c_str());
    return true;
}

int stores(const std::string& dir, const std::string& firstLayoutSql) {
    for (const char* name : {"/empty.sqlite", "/runs.sqlite", "/first_layout.sqlite"}) std::remove((dir + name).c_str());
    std::string error;
    if (!ResultsStore::open(dir + "/empty.sqlite", error) && failed(error)) return 1;
    {
        std::unique_ptr<ResultsStore> store = ResultsStore::open(dir + "/runs.sqlite", error);
        if (!store && failed(error)) return 1;
        if ((store->save(document(4), error) == 0 || store->save(document(3), error) == 0 ||
             store->save(document(2), error) == 0) &&
            failed(error))
            return 1;
    }
    sqlite3* db = nullptr;
    sqlite3_open((dir + "/first_layout.sqlite").c_str(), &db);
    const int rc = sqlite3_exec(db, firstLayoutSql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) failed(sqlite3_errmsg(db));
    sqlite3_close(db);
    return rc == SQLITE_OK ? 0 : 1;
}

int files(const std::string& dir) {
    write(dir + "/version3.json", document(3).dump(2));
    write(dir + "/version2.json", document(2).dump());
    ResultsDocument bare = document(1);
    bare["results"] = {{{"id", "calc_add"}, {"median", 5}}};
    write(dir + "/bare.json", bare.dump());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc > 2 ? argv[1] : "";
    if (what == "files") return files(argv[2]);
    if (what == "stores" && argc > 3) {
        std::ifstream sql(argv[3]);
        return stores(argv[2], std::string(std::istreambuf_iterator<char>(sql), {}));
    }
    std::fprintf(stderr, "usage: %s files DIR | stores DIR FIRST_LAYOUT.sql\n", argv[0]);
    return 2;
}
