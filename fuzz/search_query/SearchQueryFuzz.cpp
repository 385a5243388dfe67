// libFuzzer target: any bytes as a typed query (the first byte chooses whole words and the
// join connector), prepared and translated. The translation must neither crash nor touch
// memory outside its buffers, and its statement must be one the database runs: it is
// prepared and stepped on an in-memory table with Jet's LIKE, whose patterns must compile.
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "data/JetLike.h"
#include "text/SearchQuery.h"

namespace {

void Like(sqlite3_context* context, int, sqlite3_value** args) {
    const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(args[1]));
    if (!pattern || !text) return;
    CJetPattern compiled(std::string_view(pattern, sqlite3_value_bytes(args[0])));
    // Every pattern the translation writes is well-formed.
    if (!compiled.Valid()) __builtin_trap();
    sqlite3_result_int(context,
                       compiled.Matches(std::string_view(text, sqlite3_value_bytes(args[1]))));
}

sqlite3* Database() {
    static sqlite3* db = [] {
        sqlite3* handle = nullptr;
        sqlite3_open(":memory:", &handle);
        sqlite3_create_function(handle, "like", 2, SQLITE_UTF8, nullptr, &Like, nullptr, nullptr);
        sqlite3_exec(handle,
                     "CREATE TABLE HTML (ID INTEGER, Title TEXT, SearchText TEXT);"
                     "INSERT INTO HTML VALUES (1, 'Berlin', 'Berlin Mauer Genf Wien Öl');"
                     "INSERT INTO HTML VALUES (2, 'Leer', NULL);",
                     nullptr, nullptr, nullptr);
        return handle;
    }();
    return db;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    CSearchQuery query;
    query.SetSource(nullptr, "HTML", "SearchText");
    query.SetNoticeHandler({});
    query.SetWholeWords(data[0] & 1);
    query.SetJoinWithAnd(!(data[0] & 2));
    query.Prepare(std::string_view(reinterpret_cast<const char*>(data) + 1, size - 1));
    query.Translate();

    const std::string& statement = query.GetStatement();
    if (statement.find('\0') != std::string::npos) __builtin_trap();
    const std::string sql
        = "SELECT * FROM HTML WHERE " + query.GetCondition() + " ORDER BY Title ASC";
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(Database(), sql.c_str(), static_cast<int>(sql.size()), &stmt, &tail)
            != SQLITE_OK
        || !stmt || *tail != '\0') {
        std::fprintf(stderr, "refused: %s\n%s\n", sqlite3_errmsg(Database()), sql.c_str());
        __builtin_trap();
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        std::fprintf(stderr, "failed: %s\n%s\n", sqlite3_errmsg(Database()), sql.c_str());
        __builtin_trap();
    }
    return 0;
}
