#pragma once
// SQL extensions of the almanac on an SQLite connection: the German collation that the
// edition's schema names on every text column, and Jet's LIKE.

#include <sqlite3.h>

#include <string>
#include <string_view>

// Name of the collation: texts compare by their SortKey, so umlauts sort as their base
// letters and case does not matter ("Oase" < "Öl" < "Ozean").
inline constexpr const char* kGermanCollation = "GERMAN";

// Registers the collation and the LIKE function on db. Returns false when SQLite refuses.
bool RegisterAlmanacSql(sqlite3* db);
