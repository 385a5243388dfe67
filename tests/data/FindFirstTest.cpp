#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <random>

#include "data/DataRow.h"
#include "data/Database.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"
#include "fixtures/FixtureAlmanac.h"

namespace {

// A table whose rows carry their recordset position, so that SQLite itself can say which
// row a condition should find first.
class FindFirst : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = MakeTestDirectory("findfirst");
        m_db.Create(m_dir + "/find.db");
        m_db.Execute(
            "CREATE TABLE T (pos INTEGER PRIMARY KEY, LandID LONG, ValID LONG, Jahr SHORT, "
            "NUMVAL DOUBLE, STRVAL TEXT COLLATE GERMAN)");
        std::mt19937 random(20040101);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        m_db.Execute("BEGIN");
        for (int pos = 0; pos < kRows; ++pos) {
            std::string jahr = pick(10) == 0 ? "NULL" : std::to_string(1990 + pick(15));
            std::string numval = pick(8) == 0   ? "NULL"
                                 : pick(6) == 0 ? "0"
                                                : SqlFormat("%.1f", pick(400) / 4.0 - 20);
            std::string strval
                = pick(3) == 0 ? "'" + SqlQuote(kTexts[pick(std::size(kTexts))]) + "'" : "NULL";
            m_db.Execute(SqlFormat("INSERT INTO T VALUES (%d, %d, %d, %s, %s, %s)", pos,
                                   kLands[pick(std::size(kLands))], 1 + pick(6), jahr.c_str(),
                                   numval.c_str(), strval.c_str()));
        }
        m_db.Execute("COMMIT");
    }
    void TearDown() override {
        m_db.Close();
        std::filesystem::remove_all(m_dir);
    }

    // Positions of all rows matching condition, by SQLite.
    std::vector<long> Expected(const std::string& condition) {
        CRecordset rs(&m_db);
        rs.Open("SELECT pos FROM T WHERE " + condition + " ORDER BY pos");
        std::vector<long> positions;
        for (; !rs.IsEOF(); rs.MoveNext())
            positions.push_back(static_cast<long>(rs.GetFieldValue(0).Integer()));
        return positions;
    }

    static constexpr int kRows = 1500;
    static constexpr int kLands[] = {4, 40, 208, 234, 276, 756, 818};
    static constexpr const char* kTexts[]
        = {"Euro",    "euro", "Ägyptisches Pfund", "Öl", "Ol", "Oase", "Straße",
           "STRASSE", "",     "O'Brien",           "12"};
    std::string m_dir;
    CDatabase m_db;
};

// A random condition of the kinds the program and its lists use.
std::string RandomCondition(std::mt19937& random, int depth) {
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    static const char* const kOps[] = {"=", "<>", "<", ">", "<=", ">="};
    static const char* const kPatterns[]
        = {"E*", "*o*", "Ö*", "?l", "[a-o]*", "[!e]*", "*SS*", "#*", "O''*", "*"};
    if (depth > 0 && pick(3) == 0) {
        std::string a = RandomCondition(random, depth - 1);
        std::string b = RandomCondition(random, depth - 1);
        switch (pick(3)) {
            case 0:
                return a + " AND " + b;
            case 1:
                return "(" + a + " OR " + b + ")";
            default:
                return "NOT (" + a + ")";
        }
    }
    switch (pick(9)) {
        case 0:
            return SqlFormat("LandID=%d", std::vector<int>{4, 40, 208, 276, 818, 999}[pick(6)]);
        case 1:
            return SqlFormat("LandID=%d AND Jahr<=%d", 40 + pick(2) * 236, 1990 + pick(16));
        case 2:
            return SqlFormat("ValID%s%d", kOps[pick(6)], 1 + pick(6));
        case 3:
            return SqlFormat("Jahr%s%d", kOps[pick(6)], 1988 + pick(20));
        case 4:
            return SqlFormat("NUMVAL%s%.2f", kOps[pick(6)], pick(200) / 4.0 - 25);
        case 5:
            return SqlFormat("STRVAL%s'%s'", kOps[pick(6)],
                             std::vector<const char*>{"euro", "Öl", "OL", "strasse", "", "O''Brien",
                                                      "Oase"}[pick(7)]);
        case 6:
            return SqlFormat("STRVAL %sLIKE '%s'", pick(4) == 0 ? "NOT " : "",
                             kPatterns[pick(std::size(kPatterns))]);
        case 7:
            return SqlFormat("%s IS %sNULL", pick(2) ? "Jahr" : "STRVAL", pick(2) ? "NOT " : "");
        default:
            return SqlFormat("ValID=%d AND LandID=%d", 1 + pick(6), 276);
    }
}

}  // namespace

TEST_F(FindFirst, FindsWhatALinearScanFinds) {
    CRecordset rs(&m_db);
    rs.Open("SELECT * FROM T ORDER BY pos");
    ASSERT_EQ(rs.GetRecordCount(), kRows);
    std::mt19937 random(7);
    int found = 0;
    for (int i = 0; i < 400; ++i) {
        std::string condition = RandomCondition(random, 2);
        std::vector<long> expected = Expected(condition);
        rs.SetAbsolutePosition(kRows / 2);
        bool hit = rs.FindFirst(condition);
        ASSERT_EQ(hit, !expected.empty()) << condition;
        if (!hit) {
            // No match leaves the current record where it was.
            EXPECT_EQ(rs.GetAbsolutePosition(), kRows / 2) << condition;
            continue;
        }
        ++found;
        std::vector<long> all{rs.GetAbsolutePosition()};
        while (rs.FindNext(condition)) all.push_back(rs.GetAbsolutePosition());
        ASSERT_EQ(all, expected) << condition;
    }
    // The conditions must hit often enough for the comparison to mean something.
    EXPECT_GT(found, 200);
}

TEST_F(FindFirst, ComparisonRules) {
    m_db.Execute("DELETE FROM T");
    m_db.Execute("INSERT INTO T VALUES (0, 276, 1, NULL, 0, '12')");
    m_db.Execute("INSERT INTO T VALUES (1, 276, 1, 2002, 12, 'Straße')");
    m_db.Execute("INSERT INTO T VALUES (2, 40, 2, 2000, -0.0, NULL)");
    CRecordset rs(&m_db);
    rs.Open("SELECT * FROM T ORDER BY pos");
    auto first = [&](const std::string& condition) -> long {
        rs.MoveFirst();
        return rs.FindFirst(condition) ? rs.GetAbsolutePosition() : -1;
    };
    // Numbers compare as numbers whatever their spelling; -0 equals 0.
    EXPECT_EQ(first("NUMVAL=12.0"), 1);
    EXPECT_EQ(first("NUMVAL=1.2e1"), 1);
    EXPECT_EQ(first("LandID=40.0"), 2);
    EXPECT_EQ(first("NUMVAL=0 AND ValID=2"), 2);
    EXPECT_EQ(first("Jahr>-5"), 1);
    // A text never equals a number, so the match is left to the type the field has.
    EXPECT_EQ(first("STRVAL=12"), -1);
    EXPECT_EQ(first("NUMVAL='12'"), -1);
    // NULL is unknown, and so is its negation.
    EXPECT_EQ(first("Jahr<>2002"), 2);
    EXPECT_EQ(first("NOT Jahr=2002"), 2);
    EXPECT_EQ(first("Jahr=NULL"), -1);
    EXPECT_EQ(first("Jahr IS NULL"), 0);
    EXPECT_EQ(first("STRVAL IS NULL OR Jahr IS NULL"), 0);
    // Texts compare by their sort key; names of fields without regard to case, in brackets
    // and with the table in front.
    EXPECT_EQ(first("strval='STRASSE'"), 1);
    EXPECT_EQ(first("[STRVAL] >= 'S' AND T.landid = 276"), 1);
    EXPECT_EQ(first("LandID LIKE '4*'"), 2);
    EXPECT_EQ(first("((LandID=276)) AND NOT (STRVAL LIKE '1#')"), 1);
    EXPECT_EQ(first("Jahr IS NOT NULL AND TRUE=TRUE"), 1);
}

TEST_F(FindFirst, MalformedConditionsThrow) {
    CRecordset rs(&m_db);
    rs.Open("SELECT * FROM T ORDER BY pos");
    rs.SetAbsolutePosition(3);
    const char* const bad[] = {"",
                               "LandID=",
                               "LandID=276 AND",
                               "(LandID=276",
                               "LandID=276)",
                               "Title='x'",
                               "STRVAL='open",
                               "LandID==276",
                               "LandID=276; DELETE FROM T",
                               "12abc=1",
                               "STRVAL LIKE '[x'",
                               "LandID - 5 = 1",
                               "LandID IS 5"};
    for (const char* condition : bad) {
        EXPECT_THROW(rs.FindFirst(condition), CDBException) << condition;
        EXPECT_EQ(rs.GetAbsolutePosition(), 3) << condition;
    }
}

TEST(FindFirstOnTheAlmanac, TableFillingLookups) {
    std::string dir = MakeTestDirectory("findfixture");
    CDatabase db;
    db.Open(CreateFixtureAlmanac(dir), true, true, kAlmanacConnect);
    CRecordset data(&db);
    data.Open(
        SqlFormat("SELECT * FROM Data WHERE ValID=%li ORDER BY Jahr DESC", fixture::kEinwohner));
    struct Case {
        long land;
        long limit;         // 0: no year limit
        std::int16_t year;  // expected, -1: not found
    };
    const Case cases[] = {
        {fixture::kDeutschland, 0, 2002}, {fixture::kOesterreich, 2001, 2000},
        {fixture::kAegypten, 1997, -1},   {fixture::kSchweiz, 0, -1},
        {fixture::kFaeroeer, 0, 0},       {fixture::kFaeroeer, 2002, -1},
    };
    for (const Case& c : cases) {
        std::string condition = c.limit ? SqlFormat("LandID=%li AND Jahr<=%li", c.land, c.limit)
                                        : SqlFormat("LandID=%li", c.land);
        bool found = data.FindFirst(condition);
        EXPECT_EQ(found, c.year >= 0) << condition;
        if (found) {
            EXPECT_EQ(DataYear(data), c.year) << condition;
        }
    }
    db.Close();
    std::filesystem::remove_all(dir);
}

TEST_F(FindFirst, NumbersInConditionsIndependentOfTheNumericLocale) {
    m_db.Execute("DELETE FROM T");
    m_db.Execute("INSERT INTO T VALUES (0, 276, 1, 2002, 1.5, NULL)");
    CRecordset rs(&m_db);
    rs.Open("SELECT * FROM T");
    std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.utf8"))
        GTEST_SKIP() << "no German locale installed";
    bool found = rs.FindFirst("NUMVAL=1.5");
    bool like = rs.FindFirst("NUMVAL LIKE '1.5'");
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_TRUE(found);
    EXPECT_TRUE(like);
}
