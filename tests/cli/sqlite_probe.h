// Looks into a results store with SQLite directly, from outside the code
// under test.
#pragma once

#include <sqlite3.h>

#include <string>

class SqliteProbe {
public:
    explicit SqliteProbe(const std::string& path) { sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr); }
    ~SqliteProbe() { sqlite3_close(db_); }
    SqliteProbe(const SqliteProbe&) = delete;
    SqliteProbe& operator=(const SqliteProbe&) = delete;

    // The first column of the first row as text; "" when there is none or
    // the query fails.
    std::string text(const std::string& sql) const {
        sqlite3_stmt* s = nullptr;
        std::string out;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW) {
            const unsigned char* t = sqlite3_column_text(s, 0);
            if (t != nullptr) out = reinterpret_cast<const char*>(t);
        }
        sqlite3_finalize(s);
        return out;
    }
    long long number(const std::string& sql) const {
        const std::string t = text(sql);
        return t.empty() ? -1 : std::stoll(t);
    }
    int exec(const std::string& sql) { return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr); }

private:
    sqlite3* db_ = nullptr;
};
