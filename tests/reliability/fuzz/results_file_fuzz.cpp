// libFuzzer entry for the results-file reader: whatever bytes arrive are
// parsed and read as --compare (and import) read a file, every report is
// rendered from the run read, and it is imported and exported.
#include <cstdint>
#include <string>

#include "cli/results/results_document.h"
#include "reliability/fuzz/report_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ResultsDocument document;
    std::string error;
    if (!parseDocument(std::string(reinterpret_cast<const char*>(data), size), document, error)) return 0;
    SavedRun run;
    if (!readSavedRun(document, run, error)) return 0;
    renderAndCheck({run});
    importAndCheckExport(document);
    return 0;
}
