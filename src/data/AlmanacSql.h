#pragma once
// SQL extensions of the almanac on an SQLite connection: the German collation that the
// edition's schema names on every text column, and Jet's LIKE.

#include <sqlite3.h>

#include <string>
#include <string_view>

// Name of the collation: texts compare by their SortKey, so umlauts sort as their base
// letters and case does not matter ("Oase" < "Öl" < "Ozean").
inline constexpr const char* kGermanCollation = "GERMAN";

// Jet's LIKE (see JetLike.h) takes the place of SQLite's own for "x LIKE y" and "NOT LIKE";
// a malformed pattern fails the statement with "Invalid pattern string.". NULL on either
// side gives NULL.

// Registers the collation and the LIKE function on db. Returns false when SQLite refuses.
bool RegisterAlmanacSql(sqlite3* db);
