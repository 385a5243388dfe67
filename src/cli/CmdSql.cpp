// kompendor-cli sql "<statement>": runs one query on the almanac, opened as the program opens
// it, and prints the field names and then each row, TAB-separated. Rows are printed as the
// engine delivers them, so a query with a huge (or endless) result starts printing at once and
// holds one row at a time; each value is read as a recordset reads its field.
#include <cctype>
#include <climits>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliSettings.h"
#include "data/Database.h"
#include "data/SqliteHandle.h"
#include "data/ValueRoutines.h"

namespace {

// What a declared column type reads as; the table of Database.h.
enum class Declared { None, Long, Short, Byte, Double, Single, Text, Bool };

Declared DeclaredKind(const char* declared) {
    if (!declared) return Declared::None;
    std::string word;
    for (const char* p = declared; *p && !std::isspace(static_cast<unsigned char>(*p)) && *p != '(';
         ++p)
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    static const struct {
        const char* name;
        Declared kind;
    } kNames[] = {
        {"LONG", Declared::Long},     {"INTEGER", Declared::Long},    {"INT", Declared::Long},
        {"COUNTER", Declared::Long},  {"AUTOINCREMENT", Declared::Long},
        {"MEDIUMINT", Declared::Long}, {"BIGINT", Declared::Long},    {"INTEGER8", Declared::Long},
        {"SHORT", Declared::Short},   {"SMALLINT", Declared::Short},  {"INTEGER2", Declared::Short},
        {"BYTE", Declared::Byte},     {"TINYINT", Declared::Byte},    {"DOUBLE", Declared::Double},
        {"REAL", Declared::Double},   {"FLOAT", Declared::Double},    {"NUMERIC", Declared::Double},
        {"DECIMAL", Declared::Double}, {"NUMBER", Declared::Double},  {"SINGLE", Declared::Single},
        {"TEXT", Declared::Text},     {"MEMO", Declared::Text},       {"VARCHAR", Declared::Text},
        {"CHAR", Declared::Text},     {"NVARCHAR", Declared::Text},   {"NCHAR", Declared::Text},
        {"LONGTEXT", Declared::Text}, {"CLOB", Declared::Text},       {"STRING", Declared::Text},
        {"BIT", Declared::Bool},      {"YESNO", Declared::Bool},      {"BOOLEAN", Declared::Bool},
        {"LOGICAL", Declared::Bool},
    };
    for (const auto& entry : kNames) {
        if (word == entry.name) return entry.kind;
    }
    return Declared::None;
}

CVariant TextOf(sqlite3_stmt* stmt, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
    const auto length = static_cast<std::size_t>(sqlite3_column_bytes(stmt, column));
    return CVariant::FromText(text ? std::string(text, length) : std::string());
}

// The value of column in the current row, of the kind a recordset gives it.
CVariant ValueOf(sqlite3_stmt* stmt, int column, Declared kind) {
    switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_NULL:
            return CVariant::Null();
        case SQLITE_INTEGER: {
            const std::int64_t v = sqlite3_column_int64(stmt, column);
            switch (kind) {
                case Declared::Double:
                    return CVariant::FromDouble(static_cast<double>(v));
                case Declared::Single:
                    return CVariant::FromFloat(static_cast<float>(v));
                case Declared::Bool:
                    return CVariant::FromBool(v != 0);
                case Declared::Text:
                    return TextOf(stmt, column);
                case Declared::Short:
                    if (v >= -32768 && v <= 32767)
                        return CVariant::FromShort(static_cast<std::int16_t>(v));
                    break;
                case Declared::Byte:
                    if (v >= 0 && v <= 255) return CVariant::FromByte(static_cast<std::uint8_t>(v));
                    break;
                default:
                    break;
            }
            if (v >= INT32_MIN && v <= INT32_MAX)
                return CVariant::FromLong(static_cast<std::int32_t>(v));
            return CVariant::FromDouble(static_cast<double>(v));
        }
        case SQLITE_FLOAT: {
            const double v = sqlite3_column_double(stmt, column);
            if (kind == Declared::Text) return TextOf(stmt, column);
            if (kind == Declared::Bool) return CVariant::FromBool(v != 0.0);
            if (kind == Declared::Single) return CVariant::FromFloat(static_cast<float>(v));
            return CVariant::FromDouble(v);
        }
        case SQLITE_TEXT:
            return TextOf(stmt, column);
        default:
            return CVariant::OfKind(VT_ARRAY | VT_UI1);
    }
}

}  // namespace

int RunSql(const CliArgs& args) {
    if (args.args.empty()) {
        std::cerr << "kompendor-cli sql: the SQL statement is missing\n";
        return 2;
    }
    // A statement given as several words is one statement.
    std::string sql;
    for (const std::string& word : args.args) sql += (sql.empty() ? "" : " ") + word;

    CliInstallation inst = LoadInstallation(args);
    std::unique_ptr<CDatabase> db = OpenCliAlmanac(inst, "sql");
    if (!db) return 1;
    sqlite3* handle = db->Handle();
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int prepared = sqlite3_prepare_v2(handle, sql.c_str(), static_cast<int>(sql.size()),
                                            &raw, &tail);
    CSqliteStatement stmt(raw);
    if (prepared != SQLITE_OK) {
        std::cerr << sqlite3_errmsg(handle) << '\n';
        return 1;
    }
    if (!stmt) {
        std::cerr << "Invalid SQL statement; expected 'DELETE', 'INSERT', 'SELECT' or 'UPDATE'.\n";
        return 1;
    }
    // Blanks, semicolons and comments may follow the statement; another statement may not.
    if (tail && *tail) {
        sqlite3_stmt* next = nullptr;
        const int rc = sqlite3_prepare_v2(handle, tail, -1, &next, nullptr);
        CSqliteStatement nextStmt(next);
        if (rc != SQLITE_OK || nextStmt) {
            std::cerr << "Characters found after end of SQL statement.\n";
            return 1;
        }
    }
    const int fields = sqlite3_column_count(stmt.Get());
    // The almanac is read-only; a statement that would change data is no query.
    if (!sqlite3_stmt_readonly(stmt.Get()) || fields == 0) {
        std::cerr << "Invalid operation.\n";
        return 1;
    }
    std::vector<Declared> kinds;
    for (int i = 0; i < fields; ++i) {
        const char* name = sqlite3_column_name(stmt.Get(), i);
        std::cout << (i ? "\t" : "") << (name ? name : "");
        kinds.push_back(DeclaredKind(sqlite3_column_decltype(stmt.Get(), i)));
    }
    std::cout << '\n';
    int rc;
    while ((rc = sqlite3_step(stmt.Get())) == SQLITE_ROW) {
        for (int i = 0; i < fields; ++i)
            std::cout << (i ? "\t" : "") << ToText(ValueOf(stmt.Get(), i, kinds[i]));
        std::cout << '\n';
        // A reader that went away (head, a closed pipe) ends the query.
        if (!std::cout) return 1;
    }
    std::cout.flush();
    if (rc != SQLITE_DONE) {
        std::cerr << sqlite3_errmsg(handle) << '\n';
        return 1;
    }
    return std::cout ? 0 : 1;
}
