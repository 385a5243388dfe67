#include "data/AlmanacSql.h"

#include <memory>

#include "data/JetLike.h"
#include "data/ValueRoutines.h"

namespace {

int CompareGerman(void*, int lengthA, const void* a, int lengthB, const void* b) {
    std::string keyA = SortKey(std::string(static_cast<const char*>(a), lengthA));
    std::string keyB = SortKey(std::string(static_cast<const char*>(b), lengthB));
    int c = keyA.compare(keyB);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void DeletePattern(void* pattern) { delete static_cast<CJetPattern*>(pattern); }

// like(pattern, text), which SQLite calls for "text LIKE pattern".
void JetLikeFunction(sqlite3_context* context, int, sqlite3_value** args) {
    if (sqlite3_value_type(args[0]) == SQLITE_NULL || sqlite3_value_type(args[1]) == SQLITE_NULL)
        return;  // NULL
    // A query compares every row with the same pattern: SQLite keeps the compiled one for
    // the statement's next rows.
    const auto* pattern = static_cast<const CJetPattern*>(sqlite3_get_auxdata(context, 0));
    std::unique_ptr<CJetPattern> compiled;
    if (!pattern) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
        compiled = std::make_unique<CJetPattern>(
            std::string_view(text ? text : "", sqlite3_value_bytes(args[0])));
        pattern = compiled.get();
    }
    if (!pattern->Valid()) {
        sqlite3_result_error(context, "Invalid pattern string.", -1);
        return;
    }
    const auto* value = reinterpret_cast<const char*>(sqlite3_value_text(args[1]));
    bool matches
        = pattern->Matches(std::string_view(value ? value : "", sqlite3_value_bytes(args[1])));
    sqlite3_result_int(context, matches ? 1 : 0);
    // SQLite may free it at once, so it is handed over only after its last use here.
    if (compiled) sqlite3_set_auxdata(context, 0, compiled.release(), &DeletePattern);
}

}  // namespace

bool RegisterAlmanacSql(sqlite3* db) {
    if (sqlite3_create_collation(db, kGermanCollation, SQLITE_UTF8, nullptr, &CompareGerman)
        != SQLITE_OK)
        return false;
    return sqlite3_create_function(db, "like", 2,
                                   SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                   &JetLikeFunction, nullptr, nullptr)
           == SQLITE_OK;
}
