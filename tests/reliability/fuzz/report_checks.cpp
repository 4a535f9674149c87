#include "reliability/fuzz/report_checks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "cli/report/compare.h"
#include "cli/report/history.h"
#include "cli/report/html_report.h"
#include "cli/report/table_export.h"
#include "cli/results/results_store.h"

namespace {

void check(bool holds, const char* what, const std::string& text) {
    if (holds) return;
    std::fprintf(stderr, "%s:\n%s\n", what, text.c_str());
    std::abort();
}

// A terminal line: valid UTF-8 without anything a terminal acts on.
bool terminalSafe(const std::string& line) {
    for (std::size_t i = 0; i < line.size();) {
        const unsigned char lead = static_cast<unsigned char>(line[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        if (length == 0 || i + length > line.size()) return false;
        std::uint32_t cp = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char c = static_cast<unsigned char>(line[i + k]);
            if ((c & 0xC0u) != 0x80u) return false;
            cp = cp << 6 | (c & 0x3Fu);
        }
        // C0, DEL, C1, and the marks that reorder or break lines.
        if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0x061C || cp == 0x200E || cp == 0x200F ||
            (cp >= 0x2028 && cp <= 0x202E) || (cp >= 0x2066 && cp <= 0x2069))
            return false;
        i += length;
    }
    return true;
}

std::size_t count(const std::string& text, char c) {
    std::size_t n = 0;
    for (const char x : text) n += x == c;
    return n;
}

// CSV records by RFC 4180: line breaks inside quotes belong to the field.
std::size_t csvRecords(const std::string& text) {
    std::size_t records = 0;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') quoted = !quoted;
        if (c == '\n' && !quoted) ++records;
    }
    return quoted ? 0 : records;
}

}  // namespace

void renderAndCheck(const std::vector<SavedRun>& runs) {
    std::size_t figures = 0;
    for (const SavedRun& run : runs) figures += run.figures.size();

    // A heading, a line per run, and a note on each run this program is
    // not directly comparable with.
    const SavedRun here = thisProgram();
    std::size_t notes = 0;
    for (const SavedRun& run : runs) notes += historyNote(run, here).empty() ? 0 : 1;
    const std::vector<std::string> history = historyLines(runs, here);
    check(history.size() == runs.size() + 1 + notes, "history has a line per run", "");
    for (const std::string& line : history) check(terminalSafe(line), "history line is safe for a terminal", line);
    if (!runs.empty()) {
        for (const std::string& line : compareLines(RunResults{}, runs.front(), runs.front().cpu))
            check(terminalSafe(line), "compare heading is safe for a terminal", line);
    }

    const std::string markdown = markdownReport(runs);
    std::size_t rows = 0;
    for (std::size_t at = 0; (at = markdown.find("\n|", at)) != std::string::npos; ++at) ++rows;
    // The runs table and the figures table, each with its heading and rule.
    check(rows == runs.size() + 2 + FigureTable(runs).keys().size() + 2,
          "Markdown has one table row per run and per figure", markdown);
    check(markdown.find('<') == std::string::npos, "Markdown holds no HTML", markdown);

    const std::string csv = csvReport(runs);
    check(csvRecords(csv) == figures + 1, "CSV has one record per figure", csv);

    const std::string html = htmlReport(runs);
    check(html.find("<script") == std::string::npos && count(html, '<') == count(html, '>'),
          "HTML holds only our markup", html);
}

void checkUnreadableLine(long long id, const std::string& reason) {
    const std::string line = historyUnreadableLine(id, reason);
    check(terminalSafe(line), "the line of an unreadable run is safe for a terminal", line);
}

namespace {

// A store in memory: nothing of one input is left for the next.
std::unique_ptr<ResultsStore> memoryStore() {
    std::string error;
    std::unique_ptr<ResultsStore> store = ResultsStore::open(":memory:", error);
    check(store != nullptr, "an in-memory store opens", error);
    return store;
}

}  // namespace

void checkExport(const std::string& text) {
    check(!text.empty() && text.back() == '\n' && terminalSafe(text.substr(0, text.size() - 1)),
          "an export is one line that is safe for a terminal", text);
    ResultsDocument document;
    std::string error;
    check(parseDocument(text, document, error), "an export is read again", error);
    const std::unique_ptr<ResultsStore> store = memoryStore();
    bool alreadyStored = false;
    check(store->importRun(document, alreadyStored, error) == 1, "an export is imported again", error);
    ResultsDocument again;
    std::string againText;
    check(store->exportRun(1, again, error, &againText), "an export imported again is exported", error);
    check(againText == text, "an export imported again is exported the same", againText);
}

void importAndCheckExport(const ResultsDocument& document) {
    const std::unique_ptr<ResultsStore> store = memoryStore();
    std::string error;
    bool alreadyStored = false;
    if (store->importRun(document, alreadyStored, error) == 0) return;  // refused, with a reason
    ResultsDocument exported;
    std::string text;
    check(store->exportRun(1, exported, error, &text), "an imported run is exported", error);
    checkExport(text);
}
