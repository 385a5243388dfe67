#pragma once
// Small RAII wrappers and helpers over SQLite for writing the almanac.

#include <sqlite3.h>

#include <QString>
#include <memory>

namespace edition {

struct CSqliteCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close(db); }
};
struct CStatementCloser {
    void operator()(sqlite3_stmt* s) const noexcept { sqlite3_finalize(s); }
};
using CDb = std::unique_ptr<sqlite3, CSqliteCloser>;
using CStatement = std::unique_ptr<sqlite3_stmt, CStatementCloser>;

// Runs a statement without results; false with error set.
bool Exec(sqlite3* db, const char* sql, QString& error);
// A prepared statement; empty with error set on failure.
CStatement Prepare(sqlite3* db, const char* sql, QString& error);
// Binds a text, a null QString as NULL.
void BindText(sqlite3_stmt* s, int index, const QString& text);
// Steps an insert to its end and resets the statement for the next row.
bool StepDone(sqlite3* db, sqlite3_stmt* s, QString& error);

}  // namespace edition
