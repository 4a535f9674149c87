// What makes a results store trustworthy before anything in it is read or
// written.  A store may come from someone else, so its file is taken for
// ours only when its schema is exactly what our own migrations make: a view
// or a trigger could loop our queries forever or rewrite every run saved
// later, an extra column default or CHECK could run functions.  The
// expected schema is made by running the migrations themselves into an
// in-memory database, so a migration added later is covered as it is.
#pragma once

#include <sqlite3.h>

#include <cstddef>

// The steps that build a store's layout: steps[v] takes it from layout
// version v to v + 1.
struct Migrations {
    const char* const* steps;
    int count;  // the newest layout version
};

// The longest text or blob a store may hand us.  Everything pelorin-cli
// stores is far shorter: a system description, a command line (Linux passes
// no argument longer than 128 KiB), a warning.
constexpr int kMaxStoredTextBytes = 4 << 20;

// Settings for every connection to a store, before its first statement:
// no triggers, no views, no writes to the schema by hand, no functions
// from the schema that are not harmless, no text or blob beyond
// kMaxStoredTextBytes.
void hardenConnection(sqlite3* db);

// The store's layout version (PRAGMA user_version) once it is known to be
// one this program wrote and the schema to be exactly what `migrations`
// make for it.  Throws StoreError saying what is wrong otherwise: a
// version out of range, a database of another program, a schema object
// that differs, is missing or was added.
int checkedLayoutVersion(sqlite3* db, const Migrations& migrations);
