#include "data/AlmanacSql.h"

#include <cstring>

#include "data/ValueRoutines.h"

namespace {

int CompareGerman(void*, int lengthA, const void* a, int lengthB, const void* b) {
    std::string keyA = SortKey(std::string(static_cast<const char*>(a), lengthA));
    std::string keyB = SortKey(std::string(static_cast<const char*>(b), lengthB));
    int c = keyA.compare(keyB);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

bool RegisterAlmanacSql(sqlite3* db) {
    return sqlite3_create_collation(db, kGermanCollation, SQLITE_UTF8, nullptr, &CompareGerman)
           == SQLITE_OK;
}
