#pragma once
// What the database classes share for talking to SQLite: failing with the engine's message,
// preparing exactly one statement, binding variants and running statements without rows.

#include <sqlite3.h>

#include <string>
#include <string_view>

#include "data/DBException.h"
#include "data/SqliteHandle.h"

class CVariant;

namespace dbdetail {

inline constexpr const char* kNoCurrentRecord = "No current record.";
inline constexpr const char* kNoPendingEdit = "Update or CancelUpdate without AddNew or Edit.";
inline constexpr const char* kItemNotFound = "Item not found in this collection.";
inline constexpr const char* kNotOpen = "Database is not open.";
inline constexpr const char* kReadOnly = "Database or object is read-only.";

[[noreturn]] void Fail(const std::string& message, int code = SQLITE_ERROR);
// The connection's message for the last failure.
[[noreturn]] void FailWith(sqlite3* db, int rc);

bool EqualsNoCase(std::string_view a, std::string_view b);
// An SQL identifier in double quotes.
std::string QuoteName(std::string_view name);

// Prepares the first statement of sql and refuses anything after it, so that text built
// into an SQL statement cannot append a second one.
CSqliteStatement PrepareSingle(sqlite3* db, std::string_view sql);
void Bind(sqlite3* db, sqlite3_stmt* stmt, int index, const CVariant& value);
// Runs a statement that returns no rows; returns the rows it changed.
long StepToEnd(sqlite3* db, sqlite3_stmt* stmt);

}  // namespace dbdetail
