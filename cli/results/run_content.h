// What makes a run that run, for recognising a run that has no run_uuid
// (documents written before version 4, and runs stored before the store
// kept one) when it comes back: its content in one canonical form.
#pragma once

#include <string>

#include "cli/results/results_document.h"
#include "cli/results/saved_run.h"

// Fills in what documents before version 4 leave out, as they mean it: the
// system's architecture ("" for unknown), the run's thread counts (one
// thread) and its repeat rule (a fixed count).  Other values are left as
// they are.
void fillOlderDefaults(ResultsDocument& system, ResultsDocument& config);

// The run's system description and configuration (older defaults filled
// in) and each figure's id, stage, thread count and samples, as compact
// JSON with sorted keys: the same text for the same run whatever the
// document's version, key order or number spelling.  `run` is the document
// as readSavedRun read it.
std::string runContent(const ResultsDocument& document, const SavedRun& run);

// A short digest of the content (64-bit FNV-1a, 16 hex digits): an index
// to find stored runs that may hold the same content, which is then
// compared in full.
std::string contentDigest(const std::string& content);
