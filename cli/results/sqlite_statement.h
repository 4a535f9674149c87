// Thin ownership wrappers over SQLite's C interface for the results store:
// failures become StoreError with SQLite's own words.
#pragma once

#include <sqlite3.h>

#include <stdexcept>
#include <string>

struct StoreError : std::runtime_error {
    explicit StoreError(const std::string& what, int sqliteCode = SQLITE_ERROR)
        : std::runtime_error(what), code(sqliteCode) {}
    int code;  // SQLite's result code, SQLITE_ERROR for our own refusals
};

// Throws StoreError naming `what` and SQLite's message when rc is an error.
void checkSqlite(sqlite3* db, int rc, const char* what);

// Runs statements that return nothing the caller needs.
void execSql(sqlite3* db, const char* sql);

class Statement {
public:
    Statement(sqlite3* db, const char* sql);
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, long long value);
    Statement& bind(int index, double value);
    Statement& bind(int index, const std::string& value);
    Statement& bindNull(int index);

    // True while there is a row to read; false when done.
    bool step();
    // Runs a statement that returns no row, then makes it ready for new values.
    void run();

    long long integer(int column) const { return sqlite3_column_int64(stmt_, column); }
    double real(int column) const { return sqlite3_column_double(stmt_, column); }
    bool isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
    int type(int column) const { return sqlite3_column_type(stmt_, column); }  // SQLITE_INTEGER, ...
    std::string text(int column) const;

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// A write transaction taken at once (BEGIN IMMEDIATE), so that a busy store
// makes the caller wait at the start rather than fail half-way; rolled back
// unless committed.
class WriteTransaction {
public:
    explicit WriteTransaction(sqlite3* db) : db_(db) { execSql(db_, "BEGIN IMMEDIATE"); }
    ~WriteTransaction() {
        if (!done_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void commit() {
        execSql(db_, "COMMIT");
        done_ = true;
    }

private:
    sqlite3* db_;
    bool done_ = false;
};
