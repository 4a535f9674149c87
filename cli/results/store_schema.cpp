#include "cli/results/store_schema.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "cli/results/sqlite_statement.h"

namespace {

// One row of sqlite_schema.  The sql column is NULL for the indexes SQLite
// makes itself (for PRIMARY KEY and UNIQUE); `hasSql` keeps that apart from
// an empty text.
struct SchemaObject {
    std::string type, name, table, sql;
    bool hasSql = false;
    bool operator<(const SchemaObject& o) const {
        return std::tie(type, name, table, hasSql, sql) < std::tie(o.type, o.name, o.table, o.hasSql, o.sql);
    }
    bool operator==(const SchemaObject& o) const {
        return std::tie(type, name, table, hasSql, sql) == std::tie(o.type, o.name, o.table, o.hasSql, o.sql);
    }
};

std::vector<SchemaObject> schemaOf(sqlite3* db) {
    std::vector<SchemaObject> objects;
    Statement s(db, "SELECT type, name, tbl_name, sql FROM sqlite_schema");
    while (s.step()) objects.push_back({s.text(0), s.text(1), s.text(2), s.text(3), !s.isNull(3)});
    std::sort(objects.begin(), objects.end());
    return objects;
}

// The schema our migrations make for layout `version`.
std::vector<SchemaObject> expectedSchema(const Migrations& migrations, int version) {
    sqlite3* memory = nullptr;
    const int rc = sqlite3_open_v2(":memory:", &memory, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    struct Closer {
        sqlite3* db;
        ~Closer() { sqlite3_close(db); }
    } closer{memory};
    checkSqlite(memory, rc, "opening an in-memory database");
    for (int v = 0; v < version; ++v) execSql(memory, migrations.steps[v]);
    return schemaOf(memory);
}

std::string described(const SchemaObject& o) { return o.type + " '" + o.name + "'"; }

// The first difference between the store's schema and ours, in words.
std::string firstDifference(const std::vector<SchemaObject>& found, const std::vector<SchemaObject>& expected) {
    for (const SchemaObject& f : found) {
        if (std::binary_search(expected.begin(), expected.end(), f)) continue;
        const bool ours = std::any_of(expected.begin(), expected.end(),
                                      [&](const SchemaObject& e) { return e.type == f.type && e.name == f.name; });
        return ours ? "its " + described(f) + " is not defined as pelorin-cli defines it"
                    : "pelorin-cli did not make its " + described(f);
    }
    // A missing table before the indexes that went with it.
    for (const bool tables : {true, false})
        for (const SchemaObject& e : expected)
            if ((e.type == "table") == tables && !std::binary_search(found.begin(), found.end(), e))
                return "it lacks the " + described(e);
    return "";
}

}  // namespace

void hardenConnection(sqlite3* db) {
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kMaxStoredTextBytes);
}

int checkedLayoutVersion(sqlite3* db, const Migrations& migrations) {
    Statement versionQuery(db, "PRAGMA user_version");
    const long long version = versionQuery.step() ? versionQuery.integer(0) : 0;
    if (version > migrations.count)
        throw StoreError("it was written by a newer pelorin-cli (layout version " + std::to_string(version) +
                         "; this one knows up to " + std::to_string(migrations.count) + ")");
    if (version < 0)
        throw StoreError("its layout version " + std::to_string(version) + " is not one pelorin-cli writes");
    const std::vector<SchemaObject> found = schemaOf(db);
    if (version == 0 && !found.empty())
        throw StoreError("it is an SQLite database, but not a pelorin-cli results store");
    const std::string difference = firstDifference(found, expectedSchema(migrations, static_cast<int>(version)));
    if (!difference.empty())
        throw StoreError("it is not a results store as pelorin-cli makes them: " + difference);
    return static_cast<int>(version);
}
