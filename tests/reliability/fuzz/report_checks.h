// What the readers' fuzz targets do with every run they manage to read:
// render each report from it, as history, --compare and report would, and
// write it as export would, and stop when stored text got out of its place
// in any of them, or the export does not travel.
#pragma once

#include <string>
#include <vector>

#include "cli/results/results_document.h"
#include "cli/results/saved_run.h"

void renderAndCheck(const std::vector<SavedRun>& runs);

// A line of history for a run that could not be read, and why.
void checkUnreadableLine(long long id, const std::string& reason);

// What export wrote of a run: one line of JSON and its newline, without a
// byte a terminal would act on, imported again into a store of its own and
// exported from there as the same text.
void checkExport(const std::string& text);

// A results file's document as import takes it into a store of its own, and
// export gives it back (checkExport).
void importAndCheckExport(const ResultsDocument& document);
