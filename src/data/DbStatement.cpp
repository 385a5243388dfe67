#include "data/DbStatement.h"

#include <cctype>

#include "data/Variant.h"

namespace dbdetail {

[[noreturn]] void Fail(const std::string& message, int code) { throw CDBException(message, code); }

[[noreturn]] void FailWith(sqlite3* db, int rc) {
    if (db) Fail(sqlite3_errmsg(db), sqlite3_extended_errcode(db));
    Fail(sqlite3_errstr(rc), rc);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i]))
            != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string QuoteName(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    return quoted + "\"";
}

CSqliteStatement PrepareSingle(sqlite3* db, std::string_view sql) {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, &tail);
    CSqliteStatement stmt(raw);
    if (rc != SQLITE_OK) FailWith(db, rc);
    if (!stmt) Fail("Invalid SQL statement; expected 'DELETE', 'INSERT', 'SELECT' or 'UPDATE'.");
    size_t rest = static_cast<size_t>(sql.data() + sql.size() - tail);
    if (rest > 0) {
        // Blanks, semicolons and comments may follow; another statement may not.
        sqlite3_stmt* next = nullptr;
        rc = sqlite3_prepare_v2(db, tail, static_cast<int>(rest), &next, nullptr);
        CSqliteStatement nextStmt(next);
        if (rc != SQLITE_OK || nextStmt) Fail("Characters found after end of SQL statement.");
    }
    return stmt;
}

void Bind(sqlite3* db, sqlite3_stmt* stmt, int index, const CVariant& value) {
    int rc = SQLITE_OK;
    switch (value.Type()) {
        case VT_EMPTY:
        case VT_NULL:
            rc = sqlite3_bind_null(stmt, index);
            break;
        case VT_I1:
        case VT_I2:
        case VT_I4:
        case VT_I8:
        case VT_UI1:
        case VT_UI2:
        case VT_UI4:
        case VT_INT:
        case VT_UINT:
        case VT_BOOL:
            rc = sqlite3_bind_int64(stmt, index, value.Integer());
            break;
        case VT_R4:
        case VT_R8:
        case VT_DATE:
            rc = sqlite3_bind_double(stmt, index, value.Real());
            break;
        case VT_CY:
            rc = sqlite3_bind_double(stmt, index, static_cast<double>(value.Integer()) / 10000.0);
            break;
        case VT_BSTR:
            rc = sqlite3_bind_text64(stmt, index, value.Text().data(), value.Text().size(),
                                     SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        default:
            Fail("Data type conversion error.");
    }
    if (rc != SQLITE_OK) FailWith(db, rc);
}

long StepToEnd(sqlite3* db, sqlite3_stmt* stmt) {
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) FailWith(db, rc);
    return sqlite3_changes(db);
}

}  // namespace dbdetail
