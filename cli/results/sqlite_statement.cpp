#include "cli/results/sqlite_statement.h"

void checkSqlite(sqlite3* db, int rc, const char* what) {
    if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) return;
    const char* message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    throw StoreError(std::string(what) + ": " + message, rc);
}

void execSql(sqlite3* db, const char* sql) {
    checkSqlite(db, sqlite3_exec(db, sql, nullptr, nullptr, nullptr), sql);
}

Statement::Statement(sqlite3* db, const char* sql) : db_(db) {
    checkSqlite(db_, sqlite3_prepare_v2(db_, sql, -1, &stmt_, nullptr), sql);
}

Statement& Statement::bind(int index, long long value) {
    checkSqlite(db_, sqlite3_bind_int64(stmt_, index, value), "binding a value");
    return *this;
}

Statement& Statement::bind(int index, double value) {
    checkSqlite(db_, sqlite3_bind_double(stmt_, index, value), "binding a value");
    return *this;
}

Statement& Statement::bind(int index, const std::string& value) {
    checkSqlite(db_, sqlite3_bind_text(stmt_, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT),
                "binding a value");
    return *this;
}

Statement& Statement::bindNull(int index) {
    checkSqlite(db_, sqlite3_bind_null(stmt_, index), "binding a value");
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    checkSqlite(db_, rc, sqlite3_sql(stmt_));
    return rc == SQLITE_ROW;
}

void Statement::run() {
    step();
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

std::string Statement::text(int column) const {
    const unsigned char* t = sqlite3_column_text(stmt_, column);
    return t ? std::string(reinterpret_cast<const char*>(t), static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
             : std::string();
}
