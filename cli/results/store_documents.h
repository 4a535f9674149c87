// The results store's rows to and from results documents: a run is kept
// with everything its document holds, so that it can be given back as a
// complete document (export) and known again when it comes back (import).
#pragma once

#include <sqlite3.h>

#include <string>

#include "cli/results/results_document.h"
#include "cli/results/saved_run.h"

// Inserts the run of `document`, which readSavedRun read as `run`; its id.
// Throws StoreError when the document lacks its system description or
// configuration, or SQLite fails.  The caller holds the write transaction.
long long insertRun(sqlite3* db, const ResultsDocument& document, const SavedRun& run);

// Stored run `id` as a document of this schema version: what the document
// it came from held, with what older documents and layouts did not record
// filled in as they mean it or left null.  Throws StoreError when there is
// no such run.
ResultsDocument storedDocument(sqlite3* db, long long id);

// Stored JSON text (WHAT names it in a refusal), read within the limits of a
// results file: a store may come from someone else.  Throws StoreError.
ResultsDocument storedJson(const std::string& text, const char* what);

// The stored run whose document is `document` (read as `run`): by its
// run_uuid, or for a document without one by its content (see
// run_content.h), compared in full.  0 when there is none.  Fills in the
// content digest of runs stored before the store kept one, so the caller
// holds the write transaction.
long long findStoredRun(sqlite3* db, const ResultsDocument& document, const SavedRun& run);
