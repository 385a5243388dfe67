// kompendor-cli sql "<statement>": runs one query on the almanac, opened as the program opens
// it, and prints the field names and then each row, TAB-separated. Rows are printed as the
// engine delivers them, so a query with a huge (or endless) result starts printing at once and
// holds one row at a time; each value is read as a recordset reads its field.
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliSettings.h"
#include "data/DBException.h"
#include "data/Database.h"
#include "data/RowReader.h"
#include "data/SqliteHandle.h"
#include "data/ValueRoutines.h"


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
    // The recordset's reader, without a text store: a row is printed before the next one.
    dbdetail::RowReader reader{{}, std::vector<std::string_view>(fields), nullptr};
    for (int i = 0; i < fields; ++i) {
        const char* name = sqlite3_column_name(stmt.Get(), i);
        std::cout << (i ? "\t" : "") << (name ? name : "");
        reader.kinds.push_back(dbdetail::KindOfDeclared(sqlite3_column_decltype(stmt.Get(), i)));
    }
    std::cout << '\n';
    int rc;
    try {
        while ((rc = sqlite3_step(stmt.Get())) == SQLITE_ROW) {
            for (int i = 0; i < fields; ++i)
                std::cout << (i ? "\t" : "")
                          << ToText(dbdetail::VariantOf(reader.Read(stmt.Get(), i)));
            std::cout << '\n';
            // A reader that went away (head, a closed pipe) ends the query.
            if (!std::cout) return 1;
        }
    } catch (const CDBException& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    std::cout.flush();
    if (rc != SQLITE_DONE) {
        std::cerr << sqlite3_errmsg(handle) << '\n';
        return 1;
    }
    return std::cout ? 0 : 1;
}
