#include <gtest/gtest.h>

#include "data/AlmanacSql.h"
#include "data/JetLike.h"
#include "data/SqliteHandle.h"

namespace {

struct LikeCase {
    const char* pattern;
    const char* text;
    bool matches;
};

class JetLikeTable : public ::testing::TestWithParam<LikeCase> {};

}  // namespace

TEST_P(JetLikeTable, MatchesLikeJet) {
    const LikeCase& c = GetParam();
    EXPECT_EQ(JetLike(c.pattern, c.text), c.matches)
        << "'" << c.text << "' LIKE '" << c.pattern << "'";
}

INSTANTIATE_TEST_SUITE_P(
    JetLike, JetLikeTable,
    ::testing::Values(
        // Wildcards.
        LikeCase{"*", "", true}, LikeCase{"", "", true}, LikeCase{"", "a", false},
        LikeCase{"Ö*", "Österreich", true}, LikeCase{"*land", "Deutschland", true},
        LikeCase{"*land", "Deutschlande", false}, LikeCase{"a*b*c", "aXbYc", true},
        LikeCase{"a*b*c", "aXbYcZ", false}, LikeCase{"a**c", "ac", true},
        LikeCase{";*12*;", ";276;12;", true}, LikeCase{";*12*;", ";276;120", false},
        LikeCase{"*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
        // "?" is one character, also a two-byte one; "#" one digit.
        LikeCase{"?l", "Öl", true}, LikeCase{"??", "Öl", true}, LikeCase{"???", "Öl", false},
        LikeCase{"?", "\xff", true}, LikeCase{"19##", "1998", true},
        // An overlong form of "[" or "*" is two malformed bytes, never the wildcard.
        LikeCase{"*\xc1\x9b*", "a\xc1\x9b", true}, LikeCase{"\xc0\xaa", "x", false},
        LikeCase{"??", "\xc0\xaa", true},
        LikeCase{"19##", "19x8", false}, LikeCase{"#", "", false},
        // Letters compare without case, umlauts and accents included; no SortKey folding.
        LikeCase{"ö*", "Österreich", true}, LikeCase{"Ö*", "Oman", false},
        LikeCase{"ÄGYPTEN", "ägypten", true}, LikeCase{"É*", "élan", true},
        LikeCase{"ł*", "Łódź", true}, LikeCase{"STRASSE", "straße", false},
        LikeCase{"ß", "\u1E9E", true}, LikeCase{"PYRAMIDE.EPS", "pyramide.eps", true},
        // Character classes.
        LikeCase{"[abc]*", "Bern", true}, LikeCase{"[a-c]*", "bern", true},
        LikeCase{"[A-C]*", "dorf", false}, LikeCase{"[!a-c]*", "Bern", false},
        LikeCase{"[!a-c]*", "Dorf", true}, LikeCase{"[a-z]", "ä", false},
        LikeCase{"[äöü]", "Ö", true}, LikeCase{"[-a]", "-", true}, LikeCase{"[a-]", "-", true},
        LikeCase{"[!]", "x", true}, LikeCase{"[]abc", "abc", true}, LikeCase{"a]", "a]", true},
        // Brackets make wildcards literal.
        LikeCase{"[*]", "*", true}, LikeCase{"[*]", "x", false}, LikeCase{"a[?]", "a?", true},
        LikeCase{"a[?]", "ab", false}, LikeCase{"[#]1", "#1", true}, LikeCase{"[[]x", "[x", true},
        LikeCase{"50[*]*", "50* Rabatt", true}, LikeCase{"50[*]*", "500", false},
        // Malformed patterns match nothing.
        LikeCase{"[abc", "a", false}, LikeCase{"[z-a]", "m", false},
        LikeCase{"Ab[", "Ab[", false}));

TEST(JetLike, AsTheSqlLikeOperator) {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
    CSqliteHandle db(raw);
    ASSERT_TRUE(RegisterAlmanacSql(db.Get()));
    auto eval = [&](const char* sql, std::string& error) {
        sqlite3_stmt* stmt = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db.Get(), sql, -1, &stmt, nullptr), SQLITE_OK);
        CSqliteStatement guard(stmt);
        int rc = sqlite3_step(stmt);
        error = rc == SQLITE_ROW ? "" : sqlite3_errmsg(db.Get());
        if (rc != SQLITE_ROW) return -2;
        if (sqlite3_column_type(stmt, 0) == SQLITE_NULL) return -1;
        return sqlite3_column_int(stmt, 0);
    };
    std::string error;
    EXPECT_EQ(eval("SELECT 'Österreich' LIKE 'ö*'", error), 1);
    EXPECT_EQ(eval("SELECT 'Österreich' NOT LIKE 'ö*'", error), 0);
    EXPECT_EQ(eval("SELECT 'a%' LIKE 'a%'", error), 1);
    EXPECT_EQ(eval("SELECT 'ab' LIKE 'a%'", error), 0);
    EXPECT_EQ(eval("SELECT 'a_' LIKE 'a_'", error), 1);
    EXPECT_EQ(eval("SELECT 1998 LIKE '19##'", error), 1);
    EXPECT_EQ(eval("SELECT NULL LIKE '*'", error), -1);
    EXPECT_EQ(eval("SELECT 'x' LIKE NULL", error), -1);
    EXPECT_EQ(eval("SELECT 'x' LIKE '[x'", error), -2);
    EXPECT_EQ(error, "Invalid pattern string.");
}
